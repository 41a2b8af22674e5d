#pragma once

#include <QString>

// An album of the music library, as the tile editor lists it. Its key holds both fields in one text.
struct AlbumEntry {
    static constexpr char16_t keySeparator = u'\x1F';

    QString name;
    QString artist;

    [[nodiscard]] QString key() const { return name + QChar(keySeparator) + artist; }
    // The text before the first separator is the name, the text after it the artist; a missing part is
    // empty.
    [[nodiscard]] static AlbumEntry fromKey(const QString& key)
    {
        const qsizetype separator = key.indexOf(QChar(keySeparator));
        if (separator < 0)
            return {key, {}};
        return {key.left(separator), key.mid(separator + 1)};
    }

    friend bool operator==(const AlbumEntry&, const AlbumEntry&) = default;
};
