#include "core/Preferences.h"

#include "core/AtomicFile.h"
#include "core/CanonicalJson.h"
#include "core/Logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>
#include <limits>

namespace {

// Preferences hold a few short values; anything this large was not written by us.
constexpr qint64 maxFileBytes = 4 * 1024 * 1024;

} // namespace

Preferences::Preferences(QString filePath, QObject* parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
{
    load();
}

QString Preferences::unreadableCopyPath() const
{
    return QFileInfo(m_filePath).dir().filePath(QStringLiteral("preferences.unreadable.json"));
}

void Preferences::load()
{
    if (const auto read = readFile())
        m_values = m_onDisk = *read;
}

std::optional<QJsonObject> Preferences::readFile() const
{
    if (!QFileInfo::exists(m_filePath))
        return QJsonObject();
    const auto bytes = AtomicFile::read(m_filePath, maxFileBytes);
    QJsonParseError error{};
    const QJsonDocument document = bytes ? QJsonDocument::fromJson(*bytes, &error) : QJsonDocument();
    if (bytes && error.error == QJsonParseError::NoError && document.isObject())
        return document.object();
    // Keep the unreadable file where the user can find it instead of overwriting it with the next change.
    const QString aside = unreadableCopyPath();
    QFile::remove(aside);
    if (QFile::rename(m_filePath, aside))
        qCWarning(lcSettings).noquote() << "Marquetto: unreadable preferences moved to" << aside;
    else
        qCWarning(lcSettings).noquote()
            << "Marquetto: unreadable preferences at" << m_filePath << "could not be moved aside";
    return std::nullopt;
}

void Preferences::keepChangesMadeByHand(const QString& settingNow)
{
    const auto onDisk = readFile();
    if (!onDisk)
        return;
    QStringList kept;
    QStringList keys = onDisk->keys() + m_onDisk.keys();
    keys.removeDuplicates();
    for (const QString& key : std::as_const(keys)) {
        const QJsonValue now = onDisk->value(key);
        if (key == settingNow || now == m_onDisk.value(key))
            continue;
        if (now.isUndefined())
            m_values.remove(key);
        else
            m_values.insert(key, now);
        kept << key;
    }
    if (!kept.isEmpty())
        qCInfo(lcSettings).noquote() << "Marquetto: kept preferences changed in the file meanwhile:"
                                     << kept.join(QStringLiteral(", "));
}

std::optional<bool> Preferences::boolValue(const QString& key) const
{
    const QJsonValue v = m_values.value(key);
    return v.isBool() ? std::optional(v.toBool()) : std::nullopt;
}

std::optional<int> Preferences::intValue(const QString& key) const
{
    const QJsonValue v = m_values.value(key);
    if (!v.isDouble())
        return std::nullopt;
    const double d = v.toDouble();
    if (std::trunc(d) != d || d < std::numeric_limits<int>::min() || d > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(d);
}

std::optional<double> Preferences::doubleValue(const QString& key) const
{
    const QJsonValue v = m_values.value(key);
    return v.isDouble() ? std::optional(v.toDouble()) : std::nullopt;
}

std::optional<QString> Preferences::stringValue(const QString& key) const
{
    const QJsonValue v = m_values.value(key);
    return v.isString() ? std::optional(v.toString()) : std::nullopt;
}

std::optional<QStringList> Preferences::stringListValue(const QString& key) const
{
    const QJsonValue v = m_values.value(key);
    if (!v.isArray())
        return std::nullopt;
    QStringList list;
    for (const QJsonValue& element : v.toArray()) {
        if (!element.isString())
            return std::nullopt;
        list << element.toString();
    }
    return list;
}

bool Preferences::setValue(const QString& key, const QJsonValue& value)
{
    keepChangesMadeByHand(key);
    m_values.insert(key, value);
    const bool written = writeThrough();
    Q_EMIT valueChanged(key);
    return written;
}

bool Preferences::writeThrough()
{
    QDir().mkpath(QFileInfo(m_filePath).path());
    const auto failure =
        AtomicFile::write(m_filePath, CanonicalJson::write(m_values, CanonicalJson::Style::Pretty) + '\n');
    if (failure)
        qCWarning(lcSettings).noquote() << "Marquetto: couldn't save preferences:" << *failure;
    else
        m_onDisk = m_values;
    return !failure;
}
