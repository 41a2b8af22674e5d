#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The icon font the deck draws its glyphs and system symbols with, and its map from glyph name to code point.
// Both files sit in the program's resources folder; when either is missing every glyph reads "?".
//
// An instance belongs to one thread. Registering the font needs the main thread; an instance without a font
// path only reads the glyph map, which any thread may do.
class PhosphorFont final {
public:
    static constexpr auto family = "Phosphor-Fill";

    // The resources folder beside the running program.
    [[nodiscard]] static QString resourcesDir();
    // The glyph map in the resources folder.
    [[nodiscard]] static QString glyphMapInResources();
    PhosphorFont(QString fontPath, QString glyphMapPath);
    // The font and glyph map in the resources folder.
    [[nodiscard]] static PhosphorFont fromResources();

    // Registers the font and reads the glyph map, once.
    void ensureLoaded();
    // The one-character text of the glyph, or "?" when the name is unknown or its code point is not a
    // character.
    [[nodiscard]] QString glyph(const QString& name);
    // Every glyph name, sorted.
    [[nodiscard]] QStringList names();

private:
    QString m_fontPath;
    QString m_glyphMapPath;
    bool m_loaded = false;
    QHash<QString, qint64> m_codePoints;
};
