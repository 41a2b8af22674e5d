#pragma once

#include "core/EnumNames.h"
#include "core/Logging.h"
#include "core/Preferences.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <type_traits>
#include <utility>

// A list of a stored enumeration, such as the band's modules.
template <typename T>
concept EnumList = NamedEnum<typename T::value_type> && std::is_same_v<T, QList<typename T::value_type>>;

// One preference of a settings object, described once: its key, its default, an optional sanitiser and the
// owner's signal that publishes a change. The value reads itself from the preferences when it is built; an
// absent or mistyped stored value, or one the sanitiser refuses, gives the default. Values are stored in
// their JSON form: truth values, numbers and texts as they are, enumerations by raw value, lists of texts or
// of raw values (unknown raw values in a list are dropped, a list holding anything but texts gives the
// default).
//
// Main thread only, like the preferences it reads and writes.
template <typename Owner, typename T>
class Setting final {
public:
    using Argument = std::conditional_t<std::is_scalar_v<T>, T, const T&>;
    using Signal = void (Owner::*)(Argument);
    // Brings a value into range; nothing means the value is unusable and the default applies.
    using Sanitiser = std::optional<T> (*)(T);

    struct Descriptor {
        QString key;
        T fallback;
        Signal changed;
        Sanitiser sanitise = nullptr;
    };

    Setting(const Preferences& preferences, Descriptor descriptor)
        : m_descriptor(std::move(descriptor))
        , m_value(sanitised(readLogged(preferences, m_descriptor.key)))
    {
    }

    [[nodiscard]] const T& value() const { return m_value; }

    // Sanitises `value`, publishes it through the owner's signal and then writes it under the key. Nothing
    // is published or written, and the answer is false, when the value stays the same.
    bool set(Owner& owner, Preferences& preferences, T value)
    {
        value = sanitised(std::move(value));
        if (value == m_value)
            return false;
        m_value = std::move(value);
        Q_EMIT(owner.*m_descriptor.changed)(m_value);
        preferences.setValue(m_descriptor.key, stored(m_value));
        return true;
    }

private:
    [[nodiscard]] T sanitised(std::optional<T> value) const
    {
        if (value && m_descriptor.sanitise)
            value = m_descriptor.sanitise(std::move(*value));
        return value ? std::move(*value) : m_descriptor.fallback;
    }

    [[nodiscard]] static std::optional<T> readLogged(const Preferences& preferences, const QString& key)
    {
        std::optional<T> value = read(preferences, key);
        if (!value && preferences.contains(key)) {
            qCWarning(lcSettings).noquote()
                << "Marquetto: preference" << key << "holds an unusable value; its default applies";
        }
        return value;
    }

    [[nodiscard]] static std::optional<T> read(const Preferences& preferences, const QString& key)
    {
        if constexpr (std::is_same_v<T, bool>) {
            return preferences.boolValue(key);
        } else if constexpr (std::is_same_v<T, int>) {
            return preferences.intValue(key);
        } else if constexpr (std::is_same_v<T, double>) {
            return preferences.doubleValue(key);
        } else if constexpr (std::is_same_v<T, QString>) {
            return preferences.stringValue(key);
        } else if constexpr (std::is_same_v<T, QStringList>) {
            return preferences.stringListValue(key);
        } else if constexpr (NamedEnum<T>) {
            const auto text = preferences.stringValue(key);
            return text ? fromRawValue<T>(*text) : std::nullopt;
        } else {
            static_assert(EnumList<T>, "a preference of a type with no stored form");
            const auto texts = preferences.stringListValue(key);
            if (!texts)
                return std::nullopt;
            T values;
            QStringList unknown;
            for (const QString& text : *texts) {
                if (const auto value = fromRawValue<typename T::value_type>(text))
                    values << *value;
                else
                    unknown << text;
            }
            // Quoted and cut short: the text came from outside and may be long or hold control characters.
            if (!unknown.isEmpty()) {
                qCWarning(lcSettings).noquote()
                    << "Marquetto: preference" << key << "names unknown values, dropped:" << unknown.size()
                    << "of them, the first" << QDebug::toString(unknown.first().left(40));
            }
            return values;
        }
    }

    [[nodiscard]] static QJsonValue stored(const T& value)
    {
        if constexpr (std::is_same_v<T, QStringList>) {
            return QJsonArray::fromStringList(value);
        } else if constexpr (NamedEnum<T>) {
            return rawValue(value);
        } else if constexpr (EnumList<T>) {
            QJsonArray array;
            for (const auto element : value)
                array.append(rawValue(element));
            return array;
        } else {
            return value;
        }
    }

    Descriptor m_descriptor;
    T m_value;
};
