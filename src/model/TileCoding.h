#pragma once

#include "core/CanonicalJson.h"
#include "core/Expected.h"
#include "model/Models.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

// The JSON form of tiles shared by the layout file, the backups, the deck file and the cloud copy. A tile is
// an object with "id", "label", "icon" and, unless the slot is empty, "action"; an icon or an action is an
// object with exactly one member named after its case, holding the payload fields.
//
// Decoding is all or nothing: one bad tile fails the whole list.
namespace TileCoding {

struct DecodeError {
    QString message; // what was wrong, such as "Invalid number of keys found, expected one."
    QString path;    // where, such as "[0][4].action"; empty at the top level

    [[nodiscard]] QString description() const;
};

template <typename T>
using Decoded = Expected<T, DecodeError>;

[[nodiscard]] QJsonObject encode(const TileIcon& icon);
[[nodiscard]] QJsonObject encode(const TileAction& action);
[[nodiscard]] QJsonObject encode(const Tile& tile);
[[nodiscard]] QJsonArray encode(const Page& page);
[[nodiscard]] QJsonArray encode(const Pages& pages);

[[nodiscard]] Decoded<TileIcon> decodeIcon(const QJsonValue& json);
[[nodiscard]] Decoded<TileAction> decodeAction(const QJsonValue& json);
[[nodiscard]] Decoded<Tile> decodeTile(const QJsonValue& json);
// A flat list of tiles: one page.
[[nodiscard]] Decoded<Page> decodePage(const QJsonValue& json);
[[nodiscard]] Decoded<Pages> decodePages(const QJsonValue& json);

// Parses JSON text, reporting syntax errors (invalid JSON, bad UTF-8, nesting too deep) as decode errors.
[[nodiscard]] Decoded<QJsonValue> parse(const QByteArray& bytes);

// The layout file's bytes: pretty-printed with sorted keys.
[[nodiscard]] QByteArray layoutBytes(const Pages& pages);
// Streams the pages into a document being written, without building a JSON tree first.
void write(CanonicalJson::Writer& writer, const Pages& pages);

} // namespace TileCoding
