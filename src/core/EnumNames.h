#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// The stored raw value and the display title of each case of an enumeration whose values run 0, 1, 2, … in
// declaration order. One table per enumeration serves both directions.
template <typename Enum, size_t Count>
class EnumNames {
public:
    struct Entry {
        const char16_t* rawValue;
        const char16_t* title;
    };

    constexpr explicit EnumNames(std::array<Entry, Count> entries)
        : m_entries(entries)
    {
    }

    [[nodiscard]] static constexpr size_t count() { return Count; }
    [[nodiscard]] QString rawValue(Enum value) const { return QString::fromUtf16(entry(value).rawValue); }
    [[nodiscard]] QString title(Enum value) const { return QString::fromUtf16(entry(value).title); }

    [[nodiscard]] std::optional<Enum> fromRawValue(QStringView rawValue) const
    {
        for (size_t i = 0; i < Count; ++i) {
            if (rawValue == QStringView(m_entries[i].rawValue))
                return static_cast<Enum>(i);
        }
        return std::nullopt;
    }

private:
    [[nodiscard]] const Entry& entry(Enum value) const { return m_entries.at(static_cast<size_t>(value)); }

    std::array<Entry, Count> m_entries;
};

// Each stored enumeration specialises this with `static constexpr EnumNames<Enum, N> names`.
template <typename Enum>
struct EnumTable;

template <typename Enum>
concept NamedEnum = requires
{
    EnumTable<Enum>::names;
};

template <NamedEnum Enum>
[[nodiscard]] QString rawValue(Enum value)
{
    return EnumTable<Enum>::names.rawValue(value);
}

template <NamedEnum Enum>
[[nodiscard]] QString title(Enum value)
{
    return EnumTable<Enum>::names.title(value);
}

// Nothing for a text that names no case; raw values are case-sensitive.
template <NamedEnum Enum>
[[nodiscard]] std::optional<Enum> fromRawValue(QStringView rawValue)
{
    return EnumTable<Enum>::names.fromRawValue(rawValue);
}
