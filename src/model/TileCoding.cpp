#include "TileCoding.h"

#include "core/CanonicalJson.h"
#include "core/JsonBuilder.h"
#include "core/Overloaded.h"
#include "model/ActionCodecs.h"

#include <QJsonDocument>

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
                               string(u"hexColor", s.hexColor);
                               string(u"name", s.name);
                           });
                       },
                       [&](const TileIcon::Custom& c) {
                           oneCase(u"custom", [&] { string(u"fileName", c.fileName); });
                       },
                       [&](const TileIcon::Builder& b) {
                           oneCase(u"builder", [&] {
                               string(u"bgHex", b.bgHex);
                               string(u"iconName", b.iconName);
                           });
                       },
                   },
                   value.value);
    }

    void action(const TileAction& value)
    {
        std::visit(
            [&]<typename Case>(const Case& a) {
                using Codec = ActionCodec<Case>;
                oneCase(Codec::name, [&] {
                    if constexpr (requires { Codec::fields; }) {
                        static constexpr auto written = inKeyOrder(Codec::fields);
                        for (const auto& [key, member] : written)
                            string(key, a.*member);
                    } else {
                        Codec::write(*this, a);
                    }
                });
            },
            value.value);
    }

    // What an action's codec writes with.
    void string(QStringView key, QStringView value)
    {
        m_sink.key(key);
        m_sink.string(value);
    }
    void boolean(QStringView key, bool value)
    {
        m_sink.key(key);
        m_sink.boolean(value);
    }
    void actions(QStringView key, const std::vector<TileAction>& steps)
    {
        m_sink.key(key);
        m_sink.beginArray();
        for (const TileAction& step : steps)
            action(step);
        m_sink.endArray();
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
        string(u"id", tile.id.toString(QUuid::WithoutBraces).toUpper());
        string(u"label", tile.label);
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
