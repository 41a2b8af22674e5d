#include "platform/HotKeyTrigger.h"

#include <QStringList>
#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<std::uint32_t, char16_t>, 10> digitKeys{{
    {29, u'0'},
    {18, u'1'},
    {19, u'2'},
    {20, u'3'},
    {21, u'4'},
    {23, u'5'},
    {22, u'6'},
    {26, u'7'},
    {28, u'8'},
    {25, u'9'},
}};
constexpr std::uint32_t spaceKeyCode = 49;

// In the order desktops write them.
constexpr std::array<std::pair<std::uint32_t, const char16_t*>, 4> modifierNames{{
    {0x1000, u"CTRL"},
    {0x0800, u"ALT"},
    {0x0200, u"SHIFT"},
    {0x0100, u"LOGO"},
}};

std::optional<QString> keyName(std::uint32_t keyCode)
{
    if (keyCode == spaceKeyCode)
        return QStringLiteral("space");
    for (const auto& [code, digit] : digitKeys) {
        if (code == keyCode)
            return QString(QChar(digit));
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> HotKeyTrigger::text(std::uint32_t keyCode, std::uint32_t modifiers)
{
    const std::optional<QString> key = keyName(keyCode);
    if (!key)
        return std::nullopt;
    QStringList parts;
    for (const auto& [bit, name] : modifierNames) {
        if ((modifiers & bit) != 0)
            parts.append(QString::fromUtf16(name));
    }
    parts.append(*key);
    return parts.join(u'+');
}
