// Reading tiles from JSON, with the first fault's place in the error.
#include "model/ActionCodecs.h"
#include "model/TileCoding.h"

#include <QJsonArray>
#include <QJsonObject>
#include <array>
#include <functional>
#include <utility>

namespace {

QString jsonTypeName(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("a boolean");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

template <size_t... Index>
constexpr auto caseNames(std::index_sequence<Index...>)
{
    return std::array{ActionCodec<std::variant_alternative_t<Index, TileAction::Value>>::name...};
}

// Walks a JSON value and remembers where it is, so the first failure can say where it happened. The path is
// only turned into text when something fails.
class Decoder {
public:
    std::optional<TileCoding::DecodeError> failure;

    std::optional<TileIcon> icon(const QJsonValue& json)
    {
        const auto object = caseObject(json, iconCases);
        if (!object)
            return std::nullopt;
        const auto& [name, payload] = *object;
        const Scope scope(*this, name);
        if (name == u"auto")
            return TileIcon{TileIcon::Auto{}};
        if (name == u"symbol") {
            auto iconName = string(payload, u"name");
            auto hexColor = string(payload, u"hexColor");
            if (!iconName || !hexColor)
                return std::nullopt;
            return TileIcon{TileIcon::Symbol{*iconName, *hexColor}};
        }
        if (name == u"custom") {
            auto fileName = string(payload, u"fileName");
            if (!fileName)
                return std::nullopt;
            return TileIcon{TileIcon::Custom{*fileName}};
        }
        auto bgHex = string(payload, u"bgHex");
        auto iconName = string(payload, u"iconName");
        if (!bgHex || !iconName)
            return std::nullopt;
        return TileIcon{TileIcon::Builder{*bgHex, *iconName}};
    }

    std::optional<TileAction> action(const QJsonValue& json)
    {
        const auto object = caseObject(json, actionCases);
        if (!object)
            return std::nullopt;
        const auto& [name, payload] = *object;
        const Scope scope(*this, name);
        return actionCase(name, payload);
    }

    std::optional<Tile> tile(const QJsonValue& json)
    {
        if (!json.isObject())
            return fail(QStringLiteral("Expected a tile object but found %1.").arg(jsonTypeName(json)));
        const QJsonObject object = json.toObject();
        const auto idText = string(object, u"id");
        if (!idText)
            return std::nullopt;
        const QUuid id = QUuid::fromString(*idText);
        if (id.isNull() && *idText != u"00000000-0000-0000-0000-000000000000") {
            const Scope scope(*this, u"id");
            return fail(QStringLiteral("Attempted to decode UUID from invalid UUID string."));
        }
        auto label = string(object, u"label");
        if (!label)
            return std::nullopt;
        std::optional<TileIcon> tileIcon;
        {
            const Scope scope(*this, u"icon");
            tileIcon = icon(member(object, u"icon"));
        }
        if (!tileIcon)
            return std::nullopt;
        Tile result{id, *label, *tileIcon, std::nullopt};
        const QJsonValue actionJson = object.value(QStringView(u"action"));
        if (!actionJson.isUndefined() && !actionJson.isNull()) {
            const Scope scope(*this, u"action");
            result.action = action(actionJson);
            if (!result.action)
                return std::nullopt;
        }
        return result;
    }

    template <typename T, typename Element>
    std::optional<std::vector<T>> list(const QJsonValue& json, Element element)
    {
        if (!json.isArray())
            return fail(QStringLiteral("Expected an array but found %1.").arg(jsonTypeName(json)));
        const QJsonArray array = json.toArray();
        std::vector<T> result;
        result.reserve(static_cast<size_t>(array.size()));
        for (qsizetype i = 0; i < array.size(); ++i) {
            const Scope scope(*this, i);
            auto decoded = std::invoke(element, this, array.at(i));
            if (!decoded)
                return std::nullopt;
            result.push_back(std::move(*decoded));
        }
        return result;
    }

    std::optional<Page> page(const QJsonValue& json) { return list<Tile>(json, &Decoder::tile); }
    std::optional<Pages> pages(const QJsonValue& json) { return list<Page>(json, &Decoder::page); }

    // What an action's codec reads with.
    std::optional<QString> string(const QJsonObject& object, QStringView key)
    {
        const QJsonValue value = member(object, key);
        if (value.isString())
            return value.toString();
        if (value.isUndefined())
            return std::nullopt;
        const Scope scope(*this, key);
        return fail(QStringLiteral("Expected a string but found %1.").arg(jsonTypeName(value)));
    }
    std::optional<bool> boolean(const QJsonObject& object, QStringView key)
    {
        const QJsonValue value = member(object, key);
        if (value.isBool())
            return value.toBool();
        if (value.isUndefined())
            return std::nullopt;
        const Scope scope(*this, key);
        return fail(QStringLiteral("Expected a boolean but found %1.").arg(jsonTypeName(value)));
    }
    // A string naming a case of `Enum`, called `typeName` in the error.
    template <typename Enum>
    std::optional<Enum> rawValue(const QJsonObject& object, QStringView key, QStringView typeName)
    {
        const std::optional<QString> raw = string(object, key);
        if (!raw)
            return std::nullopt;
        const std::optional<Enum> value = fromRawValue<Enum>(*raw);
        if (!value) {
            const Scope scope(*this, key);
            return fail(
                QStringLiteral("Cannot initialize %1 from invalid String value %2").arg(typeName, *raw));
        }
        return value;
    }
    std::optional<std::vector<TileAction>> actions(const QJsonObject& object, QStringView key)
    {
        const QJsonValue json = member(object, key);
        if (json.isUndefined())
            return std::nullopt;
        const Scope scope(*this, key);
        return list<TileAction>(json, &Decoder::action);
    }

private:
    static constexpr std::array<const char16_t*, 4> iconCases{u"auto", u"symbol", u"custom", u"builder"};
    static constexpr auto actionCases =
        caseNames(std::make_index_sequence<std::variant_size_v<TileAction::Value>>{});

    struct Segment {
        QStringView key;
        qsizetype index = -1;
    };

    class Scope {
    public:
        Scope(Decoder& decoder, QStringView key)
            : m_decoder(decoder)
        {
            m_decoder.m_path.push_back({key, -1});
        }
        Scope(Decoder& decoder, qsizetype index)
            : m_decoder(decoder)
        {
            m_decoder.m_path.push_back({{}, index});
        }
        ~Scope() { m_decoder.m_path.pop_back(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        Decoder& m_decoder;
    };

    std::nullopt_t fail(const QString& message)
    {
        if (!failure) {
            QString path;
            for (const Segment& segment : m_path) {
                if (segment.index >= 0)
                    path += QLatin1Char('[') + QString::number(segment.index) + QLatin1Char(']');
                else
                    path += (path.isEmpty() ? QString() : QStringLiteral(".")) + segment.key.toString();
            }
            failure = TileCoding::DecodeError{message, path};
        }
        return std::nullopt;
    }

    // The one recognised case of an icon or action object, and its payload object.
    template <size_t N>
    std::optional<std::pair<QStringView, QJsonObject>> caseObject(const QJsonValue& json,
                                                                  const std::array<const char16_t*, N>& cases)
    {
        if (!json.isObject())
            return fail(QStringLiteral("Expected an object but found %1.").arg(jsonTypeName(json)));
        const QJsonObject object = json.toObject();
        QStringView found;
        int count = 0;
        for (const char16_t* name : cases) {
            if (object.contains(QStringView(name))) {
                found = name;
                ++count;
            }
        }
        if (count != 1)
            return fail(QStringLiteral("Invalid number of keys found, expected one."));
        const QJsonValue payload = object.value(found);
        if (!payload.isObject()) {
            const Scope scope(*this, found);
            return fail(QStringLiteral("Expected an object but found %1.").arg(jsonTypeName(payload)));
        }
        return std::pair{found, payload.toObject()};
    }

    QJsonValue member(const QJsonObject& object, QStringView key)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined())
            fail(QStringLiteral("No value associated with key \"%1\".").arg(key));
        return value;
    }

    // The action of the case called `name`, read from its payload.
    template <size_t Index = 0>
    std::optional<TileAction> actionCase(QStringView name, const QJsonObject& payload)
    {
        using Case = std::variant_alternative_t<Index, TileAction::Value>;
        using Codec = ActionCodec<Case>;
        if constexpr (Index + 1 < std::variant_size_v<TileAction::Value>) {
            if (name != QStringView(Codec::name))
                return actionCase<Index + 1>(name, payload);
        }
        std::optional<Case> value;
        if constexpr (requires { Codec::fields; }) {
            value.emplace();
            for (const auto& [key, field] : Codec::fields) {
                std::optional<QString> text = string(payload, key);
                if (!text)
                    return std::nullopt;
                (*value).*field = std::move(*text);
            }
        } else {
            value = Codec::read(*this, payload);
        }
        if (!value)
            return std::nullopt;
        return TileAction{std::move(*value)};
    }

    std::vector<Segment> m_path;
};

template <typename T, typename Method>
TileCoding::Decoded<T> run(const QJsonValue& json, Method method)
{
    Decoder decoder;
    auto result = std::invoke(method, decoder, json);
    if (!result)
        return Unexpected{
            decoder.failure.value_or(TileCoding::DecodeError{QStringLiteral("Unreadable value."), {}})};
    return std::move(*result);
}

} // namespace

TileCoding::Decoded<TileIcon> TileCoding::decodeIcon(const QJsonValue& json)
{
    return run<TileIcon>(json, &Decoder::icon);
}

TileCoding::Decoded<TileAction> TileCoding::decodeAction(const QJsonValue& json)
{
    return run<TileAction>(json, &Decoder::action);
}

TileCoding::Decoded<Tile> TileCoding::decodeTile(const QJsonValue& json)
{
    return run<Tile>(json, &Decoder::tile);
}

TileCoding::Decoded<Page> TileCoding::decodePage(const QJsonValue& json)
{
    return run<Page>(json, &Decoder::page);
}

TileCoding::Decoded<Pages> TileCoding::decodePages(const QJsonValue& json)
{
    return run<Pages>(json, &Decoder::pages);
}
