#include "platform/linux/desktop/XfcePanelLaunchers.h"

#include <QFileInfo>
#include <QXmlStreamReader>
#include <map>
#include <memory>
#include <optional>

namespace {

// One xfconf property: its value, the values of an array, and the properties below it.
struct Property {
    QString value;
    QStringList items;
    std::map<QString, std::unique_ptr<Property>> children;

    [[nodiscard]] const Property* child(const QString& name) const
    {
        const auto found = children.find(name);
        return found == children.end() ? nullptr : found->second.get();
    }
};

// The panel's channel nests four deep; a deeper file is not one and must not exhaust the stack.
constexpr int maxDepth = 16;

// Reads the children of the element just opened, up to its end.
void readInto(QXmlStreamReader& xml, Property& parent, int depth)
{
    if (depth > maxDepth) {
        xml.raiseError(QStringLiteral("nested too deeply"));
        return;
    }
    while (xml.readNextStartElement()) {
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == QLatin1String("value")) {
            parent.items << attributes.value(QLatin1String("value")).toString();
            xml.skipCurrentElement();
        } else if (xml.name() == QLatin1String("property")) {
            auto property = std::make_unique<Property>();
            property->value = attributes.value(QLatin1String("value")).toString();
            Property& added = *property;
            parent.children[attributes.value(QLatin1String("name")).toString()] = std::move(property);
            readInto(xml, added, depth + 1);
        } else {
            xml.skipCurrentElement();
        }
    }
}

std::optional<Property> parseChannel(const QByteArray& channelXml)
{
    QXmlStreamReader xml(channelXml);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("channel"))
        return std::nullopt;
    Property channel;
    readInto(xml, channel, 0);
    if (xml.hasError())
        return std::nullopt;
    return channel;
}

// An item names a file inside the plugin's folder, never one beside it.
QString launcherItem(const QString& item, const QString& pluginDir)
{
    if (item.contains(u'/'))
        return item.startsWith(u'/') ? item : QString();
    const QString kept = pluginDir + u'/' + item;
    return QFileInfo(kept).isFile() ? kept : item;
}

} // namespace

QStringList XfcePanelLaunchers::read(const QByteArray& channelXml, const QString& panelConfigDir)
{
    const std::optional<Property> channel = parseChannel(channelXml);
    if (!channel)
        return {};
    const Property* panels = channel->child(QStringLiteral("panels"));
    const Property* plugins = channel->child(QStringLiteral("plugins"));
    if (!panels || !plugins)
        return {};
    QStringList launchers;
    for (const QString& panelNumber : panels->items) {
        const Property* panel = panels->child(QStringLiteral("panel-") + panelNumber);
        const Property* pluginIds = panel ? panel->child(QStringLiteral("plugin-ids")) : nullptr;
        if (!pluginIds)
            continue;
        for (const QString& pluginNumber : pluginIds->items) {
            bool isNumber = false;
            pluginNumber.toUInt(&isNumber);
            if (!isNumber)
                continue;
            const Property* plugin = plugins->child(QStringLiteral("plugin-") + pluginNumber);
            if (!plugin || plugin->value != QLatin1String("launcher"))
                continue;
            const Property* items = plugin->child(QStringLiteral("items"));
            if (!items)
                continue;
            const QString pluginDir = panelConfigDir + QStringLiteral("/launcher-") + pluginNumber;
            for (const QString& item : items->items)
                if (const QString launcher = launcherItem(item, pluginDir); !launcher.isEmpty())
                    launchers << launcher;
        }
    }
    return launchers;
}
