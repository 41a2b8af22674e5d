// Reading tiles from JSON, with the first fault's place in the error.
#include "model/TileCoding.h"

#include <QJsonArray>
#include <QJsonObject>
#include <array>
#include <functional>

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
        using A = TileAction;
        if (name == u"launchApp")
            return one<A::LaunchApp>(payload, u"path");
        if (name == u"openFile")
            return one<A::OpenFile>(payload, u"path");
        if (name == u"openURL")
            return one<A::OpenURL>(payload, u"urlString");
        if (name == u"playPlaylist")
            return one<A::PlayPlaylist>(payload, u"name");
        if (name == u"playAlbum")
            return two<A::PlayAlbum>(payload, u"name", u"artist");
        if (name == u"nowPlaying")
            return A{A::NowPlaying{}};
        if (name == u"systemAction")
            return systemAction(payload);
        if (name == u"runShortcut")
            return one<A::RunShortcut>(payload, u"name");
        if (name == u"runScript")
            return script(payload);
        if (name == u"sequence")
            return sequence(payload);
        if (name == u"connectBluetooth")
            return two<A::ConnectBluetooth>(payload, u"address", u"name");
        if (name == u"audioOutput")
            return two<A::AudioOutput>(payload, u"deviceUID", u"name");
        return one<A::Snippet>(payload, u"text");
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

private:
    static constexpr std::array<const char16_t*, 4> iconCases{u"auto", u"symbol", u"custom", u"builder"};
    static constexpr std::array<const char16_t*, 13> actionCases{
        u"launchApp",        u"openFile",     u"openURL",     u"playPlaylist", u"playAlbum",
        u"nowPlaying",       u"systemAction", u"runShortcut", u"runScript",    u"sequence",
        u"connectBluetooth", u"audioOutput",  u"snippet",
    };

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

    template <typename Case>
    std::optional<TileAction> one(const QJsonObject& payload, QStringView key)
    {
        auto first = string(payload, key);
        if (!first)
            return std::nullopt;
        return TileAction{Case{*first}};
    }

    template <typename Case>
    std::optional<TileAction> two(const QJsonObject& payload, QStringView key1, QStringView key2)
    {
        auto first = string(payload, key1);
        auto second = first ? string(payload, key2) : std::nullopt;
        if (!second)
            return std::nullopt;
        return TileAction{Case{*first, *second}};
    }

    std::optional<TileAction> systemAction(const QJsonObject& payload)
    {
        const auto raw = string(payload, u"action");
        if (!raw)
            return std::nullopt;
        const auto action = fromRawValue<SystemAction>(*raw);
        if (!action) {
            const Scope scope(*this, u"action");
            return fail(
                QStringLiteral("Cannot initialize SystemAction from invalid String value %1").arg(*raw));
        }
        return TileAction{TileAction::RunSystemAction{*action}};
    }

    std::optional<TileAction> script(const QJsonObject& payload)
    {
        const auto source = string(payload, u"source");
        if (!source)
            return std::nullopt;
        const QJsonValue flag = member(payload, u"isAppleScript");
        if (flag.isUndefined())
            return std::nullopt;
        if (!flag.isBool()) {
            const Scope scope(*this, u"isAppleScript");
            return fail(QStringLiteral("Expected a boolean but found %1.").arg(jsonTypeName(flag)));
        }
        return TileAction{TileAction::RunScript{*source, flag.toBool()}};
    }

    std::optional<TileAction> sequence(const QJsonObject& payload)
    {
        const QJsonValue stepsJson = member(payload, u"steps");
        if (stepsJson.isUndefined())
            return std::nullopt;
        const Scope scope(*this, u"steps");
        auto steps = list<TileAction>(stepsJson, &Decoder::action);
        if (!steps)
            return std::nullopt;
        return TileAction{TileAction::Sequence{std::move(*steps)}};
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
