#include "TileCoding.h"

#include "core/CanonicalJson.h"
#include "core/JsonBuilder.h"
#include "core/Overloaded.h"

#include <QJsonDocument>
#include <array>
#include <functional>

namespace {

// Writes tiles to a CanonicalJson::Writer or a JsonBuilder. Members are written in code point order of their
// keys, as the writer requires.
template <typename Sink>
class Encoder {
public:
    explicit Encoder(Sink& sink)
        : m_sink(sink)
    {
    }

    void icon(const TileIcon& value)
    {
        std::visit(Overloaded{
                       [&](const TileIcon::Auto&) { oneCase(u"auto", [] {}); },
                       [&](const TileIcon::Symbol& s) {
                           oneCase(u"symbol", [&] {
                               field(u"hexColor", s.hexColor);
                               field(u"name", s.name);
                           });
                       },
                       [&](const TileIcon::Custom& c) {
                           oneCase(u"custom", [&] { field(u"fileName", c.fileName); });
                       },
                       [&](const TileIcon::Builder& b) {
                           oneCase(u"builder", [&] {
                               field(u"bgHex", b.bgHex);
                               field(u"iconName", b.iconName);
                           });
                       },
                   },
                   value.value);
    }

    void action(const TileAction& value)
    {
        using A = TileAction;
        std::visit(
            Overloaded{
                [&](const A::LaunchApp& a) { oneCase(u"launchApp", [&] { field(u"path", a.path); }); },
                [&](const A::OpenFile& a) { oneCase(u"openFile", [&] { field(u"path", a.path); }); },
                [&](const A::OpenURL& a) { oneCase(u"openURL", [&] { field(u"urlString", a.urlString); }); },
                [&](const A::PlayPlaylist& a) { oneCase(u"playPlaylist", [&] { field(u"name", a.name); }); },
                [&](const A::PlayAlbum& a) {
                    oneCase(u"playAlbum", [&] {
                        field(u"artist", a.artist);
                        field(u"name", a.name);
                    });
                },
                [&](const A::NowPlaying&) { oneCase(u"nowPlaying", [] {}); },
                [&](const A::RunSystemAction& a) {
                    oneCase(u"systemAction", [&] { field(u"action", rawValue(a.action)); });
                },
                [&](const A::RunShortcut& a) { oneCase(u"runShortcut", [&] { field(u"name", a.name); }); },
                [&](const A::RunScript& a) {
                    oneCase(u"runScript", [&] {
                        m_sink.key(u"isAppleScript");
                        m_sink.boolean(a.isAppleScript);
                        field(u"source", a.source);
                    });
                },
                [&](const A::Sequence& a) {
                    oneCase(u"sequence", [&] {
                        m_sink.key(u"steps");
                        m_sink.beginArray();
                        for (const TileAction& step : a.steps)
                            action(step);
                        m_sink.endArray();
                    });
                },
                [&](const A::ConnectBluetooth& a) {
                    oneCase(u"connectBluetooth", [&] {
                        field(u"address", a.address);
                        field(u"name", a.name);
                    });
                },
                [&](const A::AudioOutput& a) {
                    oneCase(u"audioOutput", [&] {
                        field(u"deviceUID", a.deviceUID);
                        field(u"name", a.name);
                    });
                },
                [&](const A::Snippet& a) { oneCase(u"snippet", [&] { field(u"text", a.text); }); },
            },
            value.value);
    }

    void tile(const Tile& tile)
    {
        m_sink.beginObject();
        if (tile.action) {
            m_sink.key(u"action");
            action(*tile.action);
        }
        m_sink.key(u"icon");
        icon(tile.icon);
        // The standard 36-character form with upper-case digits.
        field(u"id", tile.id.toString(QUuid::WithoutBraces).toUpper());
        field(u"label", tile.label);
        m_sink.endObject();
    }

    void page(const Page& page)
    {
        m_sink.beginArray();
        for (const Tile& t : page)
            tile(t);
        m_sink.endArray();
    }

    void pages(const Pages& pages)
    {
        m_sink.beginArray();
        for (const Page& p : pages)
            page(p);
        m_sink.endArray();
    }

private:
    // An object with one member named after the case, whose value holds the payload fields.
    template <typename Fields>
    void oneCase(QStringView name, Fields fields)
    {
        m_sink.beginObject();
        m_sink.key(name);
        m_sink.beginObject();
        fields();
        m_sink.endObject();
        m_sink.endObject();
    }

    void field(QStringView key, QStringView value)
    {
        m_sink.key(key);
        m_sink.string(value);
    }

    Sink& m_sink;
};

template <typename Write>
QJsonValue built(Write write)
{
    JsonBuilder builder;
    Encoder encoder(builder);
    write(encoder);
    return builder.take();
}

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

QString TileCoding::DecodeError::description() const
{
    return path.isEmpty() ? message : QStringLiteral("%1 (at %2)").arg(message, path);
}

QJsonObject TileCoding::encode(const TileIcon& icon)
{
    return built([&](auto& encoder) { encoder.icon(icon); }).toObject();
}

QJsonObject TileCoding::encode(const TileAction& action)
{
    return built([&](auto& encoder) { encoder.action(action); }).toObject();
}

QJsonObject TileCoding::encode(const Tile& tile)
{
    return built([&](auto& encoder) { encoder.tile(tile); }).toObject();
}

QJsonArray TileCoding::encode(const Page& page)
{
    return built([&](auto& encoder) { encoder.page(page); }).toArray();
}

QJsonArray TileCoding::encode(const Pages& pages)
{
    return built([&](auto& encoder) { encoder.pages(pages); }).toArray();
}

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

TileCoding::Decoded<QJsonValue> TileCoding::parse(const QByteArray& bytes)
{
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(CanonicalJson::withPlainSlashes(bytes), &error);
    // Where the fault lies is told in the file's own bytes.
    if (error.error != QJsonParseError::NoError)
        document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return Unexpected{DecodeError{QStringLiteral("The data isn't valid JSON: %1 at offset %2.")
                                          .arg(error.errorString())
                                          .arg(error.offset),
                                      {}}};
    if (document.isArray())
        return QJsonValue(document.array());
    return QJsonValue(document.object());
}

QByteArray TileCoding::layoutBytes(const Pages& pages)
{
    CanonicalJson::Writer writer(CanonicalJson::Style::Pretty);
    write(writer, pages);
    return writer.take();
}

void TileCoding::write(CanonicalJson::Writer& writer, const Pages& pages)
{
    Encoder(writer).pages(pages);
}
