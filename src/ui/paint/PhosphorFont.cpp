#include "ui/paint/PhosphorFont.h"

#include "core/CodePoint.h"
#include "core/Logging.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {

const QString fontFileName = QStringLiteral("Phosphor-Fill.ttf");
const QString glyphMapFileName = QStringLiteral("PhosphorFill.json");
// The glyph map has about 1500 entries; a much larger file is not one.
constexpr qint64 maximumGlyphMapSize = 4 * 1024 * 1024;
const QString unknownGlyph = QStringLiteral("?");

// The value as a whole number, or nothing when it is not one (a fraction, a text, beyond 64 bits).
std::optional<qint64> wholeNumber(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    // toInteger answers its fallback for anything but a whole number, so two fallbacks that disagree
    // reveal one.
    const qint64 first = value.toInteger(-1);
    if (first != value.toInteger(0))
        return std::nullopt;
    return first;
}

QHash<QString, qint64> readGlyphMap(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maximumGlyphMapSize)
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject())
        return {};
    const QJsonObject object = document.object();
    QHash<QString, qint64> codePoints;
    codePoints.reserve(object.size());
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::optional<qint64> codePoint = wholeNumber(it.value());
        // One value that is not a whole number means the file is not a glyph map at all.
        if (!codePoint)
            return {};
        codePoints.insert(it.key(), *codePoint);
    }
    return codePoints;
}

bool isCharacter(qint64 codePoint)
{
    return codePoint >= 0 && codePoint <= 0x10FFFF && !(codePoint >= 0xD800 && codePoint <= 0xDFFF);
}

} // namespace

QString PhosphorFont::resourcesDir()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    const QStringList candidates{appDir + QStringLiteral("/resources"),
                                 appDir + QStringLiteral("/../share/marquetto")};
    for (const QString& dir : candidates) {
        if (QFileInfo::exists(dir + u'/' + glyphMapFileName))
            return QFileInfo(dir).absoluteFilePath();
    }
    return candidates.front();
}

PhosphorFont::PhosphorFont(QString fontPath, QString glyphMapPath)
    : m_fontPath(std::move(fontPath))
    , m_glyphMapPath(std::move(glyphMapPath))
{
}

QString PhosphorFont::glyphMapInResources()
{
    return resourcesDir() + u'/' + glyphMapFileName;
}

PhosphorFont PhosphorFont::fromResources()
{
    return {resourcesDir() + u'/' + fontFileName, glyphMapInResources()};
}

void PhosphorFont::ensureLoaded()
{
    if (m_loaded)
        return;
    m_loaded = true;
    if (!m_fontPath.isEmpty() && QFileInfo::exists(m_fontPath)) {
        const int id = QFontDatabase::addApplicationFont(m_fontPath);
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (id < 0)
            qCWarning(lcPlatform).noquote() << "Marquetto: icon font" << m_fontPath << "could not be loaded";
        else if (!families.contains(QLatin1String(family)))
            qCWarning(lcPlatform).noquote() << "Marquetto: icon font" << m_fontPath << "names its family"
                                            << families.join(QStringLiteral(", ")) << "instead of" << family;
    }
    m_codePoints = readGlyphMap(m_glyphMapPath);
}

QString PhosphorFont::glyph(const QString& name)
{
    ensureLoaded();
    const auto found = m_codePoints.constFind(name);
    if (found == m_codePoints.cend() || !isCharacter(*found))
        return unknownGlyph;
    return characterText(static_cast<char32_t>(*found));
}

QStringList PhosphorFont::names()
{
    ensureLoaded();
    QStringList sorted = m_codePoints.keys();
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}
