#include "platform/linux/hotkeys/GVariantText.h"

#include "platform/linux/appearance/DesktopWallpaper.h"
#include "platform/linux/desktop/GnomeFavourites.h"

namespace GVariantText {

QString quoted(const QString& text)
{
    QString literal = QStringLiteral("'");
    for (const QChar c : text) {
        if (c == u'\\' || c == u'\'')
            literal += u'\\';
        if (c == u'\n')
            literal += QStringLiteral("\\n");
        else
            literal += c;
    }
    return literal + u'\'';
}

QString quotedArray(const QStringList& items)
{
    QStringList literals;
    for (const QString& item : items)
        literals << quoted(item);
    return u'[' + literals.join(QStringLiteral(", ")) + u']';
}

std::optional<QString> parseString(QStringView text)
{
    return DesktopWallpaper::gsettingsString(text.trimmed());
}

std::optional<QStringList> parseStringArray(QStringView text)
{
    text = text.trimmed();
    // An empty array comes typed.
    if (text.startsWith(u"@as"))
        text = text.mid(3);
    return GnomeFavourites::parseStringArray(text);
}

} // namespace GVariantText
