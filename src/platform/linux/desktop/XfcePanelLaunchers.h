#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The launchers on Xfce's panels, from the panel's settings channel as xfconf stores it
// (`xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml`).
namespace XfcePanelLaunchers {

// The items of every launcher plugin, panel by panel and plugin by plugin in their order there. An item is a
// ".desktop" file the panel keeps in its own folder (`panelConfigDir`/launcher-N/), answered as that file's
// path when it is there, or else a desktop file id. Anything that is not such a channel gives nothing.
[[nodiscard]] QStringList read(const QByteArray& channelXml, const QString& panelConfigDir);

} // namespace XfcePanelLaunchers
