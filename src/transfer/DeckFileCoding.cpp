#include "core/Base64.h"
#include "model/TileCoding.h"
#include "transfer/DeckTransfer.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTimeZone>
#include <cmath>
#include <limits>

namespace DeckTransfer {

namespace {

// "2026-03-01T09:30:00Z": UTC, whole seconds, the form every writer of the file uses; "d" stands for a digit.
constexpr QStringView dateShape = u"dddd-dd-ddTdd:dd:ddZ";
const QString dateFormat = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'");

QString dateText(const QDateTime& date)
{
    return date.toUTC().toString(dateFormat);
}

std::optional<QDateTime> dateFromText(const QString& text)
{
    if (text.size() != dateShape.size())
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool fits = dateShape[i] == u'd' ? text[i] >= u'0' && text[i] <= u'9' : text[i] == dateShape[i];
        if (!fits)
            return std::nullopt;
    }
    QDateTime date = QDateTime::fromString(text, Qt::ISODate);
    if (!date.isValid())
        return std::nullopt;
    return date.toUTC();
}

std::optional<qint64> integer(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    // Beyond 2^53 a double no longer tells neighbouring integers apart.
    constexpr double exactLimit = 9007199254740992.0;
    if (std::trunc(number) != number || std::abs(number) > exactLimit)
        return std::nullopt;
    return static_cast<qint64>(number);
}

std::optional<int> smallInteger(const QJsonValue& value)
{
    const auto number = integer(value);
    if (!number || *number < std::numeric_limits<int>::min() || *number > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*number);
}

// Absent and null both mean "no value"; anything else must be text.
bool optionalText(const QJsonObject& object, QStringView key, std::optional<QString>& out)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        return true;
    if (!value.isString())
        return false;
    out = value.toString();
    return true;
}

bool optionalInteger(const QJsonObject& object, QStringView key, std::optional<qint64>& out)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        return true;
    out = integer(value);
    return out.has_value();
}

// Page and slot counts are checked before any tile is decoded, so a file of a million slots is refused
// before a million tiles are built.
bool withinBounds(const QJsonArray& pages)
{
    if (pages.size() > maxPages)
        return false;
    for (const QJsonValue& page : pages) {
        if (page.isArray() && page.toArray().size() > maxTilesPerPage)
            return false;
    }
    return true;
}

std::optional<IconMap> icons(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    IconMap result;
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!it.value().isString())
            return std::nullopt;
        auto bytes = Base64::decode(it.value().toString());
        if (!bytes)
            return std::nullopt;
        result.emplace(it.key(), std::move(*bytes));
    }
    return result;
}

std::optional<DeckFile> deckFile(const QJsonObject& object, qint64 format)
{
    DeckFile deck;
    deck.format = format;
    const QJsonValue app = object.value(u"app");
    const QJsonValue exportedAt = object.value(u"exportedAt");
    const auto columns = smallInteger(object.value(u"gridColumns"));
    const auto rows = smallInteger(object.value(u"gridRows"));
    const QJsonValue pages = object.value(u"pages");
    if (!app.isString() || !exportedAt.isString() || !columns || !rows || !pages.isArray())
        return std::nullopt;
    if (!optionalText(object, u"appVersion", deck.appVersion) ||
        !optionalInteger(object, u"revision", deck.revision) ||
        !optionalText(object, u"sourceDevice", deck.sourceDevice) ||
        !optionalText(object, u"sourceName", deck.sourceName))
        return std::nullopt;
    const auto date = dateFromText(exportedAt.toString());
    if (!date || !withinBounds(pages.toArray()))
        return std::nullopt;
    auto iconMap = icons(object.value(u"icons"));
    if (!iconMap)
        return std::nullopt;
    auto decodedPages = TileCoding::decodePages(pages);
    if (!decodedPages)
        return std::nullopt;
    deck.app = app.toString();
    deck.exportedAt = *date;
    deck.gridColumns = *columns;
    deck.gridRows = *rows;
    deck.pages = std::move(*decodedPages);
    deck.icons = std::move(*iconMap);
    return deck;
}

} // namespace

QByteArray encode(const DeckFile& deck)
{
    CanonicalJson::Writer writer;
    writer.beginObject();
    writer.key(u"app");
    writer.string(deck.app);
    if (deck.appVersion) {
        writer.key(u"appVersion");
        writer.string(*deck.appVersion);
    }
    writer.key(u"exportedAt");
    writer.string(dateText(deck.exportedAt));
    writer.key(u"format");
    writer.number(static_cast<double>(deck.format));
    writer.key(u"gridColumns");
    writer.number(deck.gridColumns);
    writer.key(u"gridRows");
    writer.number(deck.gridRows);
    writer.key(u"icons");
    writer.beginObject();
    for (const auto& [name, bytes] : deck.icons) {
        writer.key(name);
        writer.base64(bytes);
    }
    writer.endObject();
    writer.key(u"pages");
    TileCoding::write(writer, deck.pages);
    if (deck.revision) {
        writer.key(u"revision");
        writer.number(static_cast<double>(*deck.revision));
    }
    if (deck.sourceDevice) {
        writer.key(u"sourceDevice");
        writer.string(*deck.sourceDevice);
    }
    if (deck.sourceName) {
        writer.key(u"sourceName");
        writer.string(*deck.sourceName);
    }
    writer.endObject();
    return writer.take();
}

Expected<DeckFile, TransferError> decode(const QByteArray& bytes)
{
    const auto json = TileCoding::parse(bytes);
    if (!json || !json->isObject())
        return Unexpected{TransferError::unreadable};
    const QJsonObject object = json->toObject();
    const auto format = integer(object.value(u"format"));
    if (!format)
        return Unexpected{TransferError::unreadable};
    const Header header{*format};
    if (header.format > currentFormat)
        return Unexpected{TransferError::newerFormat};
    auto deck = deckFile(object, header.format);
    if (!deck)
        return Unexpected{TransferError::unreadable};
    return std::move(*deck);
}

} // namespace DeckTransfer
