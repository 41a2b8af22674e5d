#pragma once

#include "support/Screenshot.h"

#include <QColor>
#include <QJsonObject>
#include <QString>
#include <functional>

class RunningDeck;

// What the desktop tests do with the deck and check of it, whatever the desktop.

// Sets the tile at `index` of the first page of the deck of `home`, through `marquetto-deck set`.
void setTile(const QString& home, int index, const QString& json);
// Runs the tile at `index` of the first page, through `marquetto-deck run`.
void runTile(const QString& home, int index);
// What `marquetto-deck state` says; empty when the deck does not answer.
[[nodiscard]] QJsonObject deckState(const QString& home);
// What the band module `module` of the deck of `home` shows, as `marquetto-deck band` says; empty when the
// band does not show it.
[[nodiscard]] QString bandText(const QString& home, const QString& module);
// A small picture of one colour in `folder`, for a wallpaper; its path.
[[nodiscard]] QString solidPicture(const QString& folder, const QColor& colour);

// Saves what the screen shows as a PNG file at its path; false when it could not.
using ScreenGrab = std::function<bool(const QString& pngPath)>;

// What every desktop's window manager must do with the deck, checked on the real one: an ordinary window is
// opened, then the deck starts; it stays below that window on every workspace, out of the taskbar and pager,
// never takes the focus, and `marquetto-deck summon` lifts it above, still without the focus. Screenshots of
// both, taken by `grab` (the X server's own pixels unless the compositor keeps them), go to the test
// artefacts as NAME-desktop.png and NAME-summoned.png. The display is the test's DISPLAY.
void expectDeckStackedAndSummoned(RunningDeck& deck, const QString& home, const QString& name,
                                  const ScreenGrab& grab = saveScreenshot);
