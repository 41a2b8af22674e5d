#pragma once

#include <QSize>
#include <QString>

class QWidget;

// The small windows the deck keeps once made (customising the band, setting up Do Not Disturb): ordinary
// titled, closable windows, centred when first shown and brought forward on every later show.
namespace KeptWindow {

// Makes `view` such a window, `size` large and centred on the primary screen. Called once, before the first
// `present`.
void prepare(QWidget& view, const QString& title, QSize size);
// Shows the window in front and active.
void present(QWidget& view);

} // namespace KeptWindow
