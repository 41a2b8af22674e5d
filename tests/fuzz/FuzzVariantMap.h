#pragma once

#include "FuzzReader.h"

#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <initializer_list>

// A dictionary ("a{sv}") as QtDBus hands one over, built from fuzz bytes: values of the basic D-Bus types,
// variants inside variants, and dictionaries inside dictionaries down to a few levels. A key byte below the
// number of `keys` picks one of them, so the fuzzer reaches the keys a reader looks up; any other byte is
// followed by a key of its own.
namespace FuzzVariantMap {

inline constexpr int maxDepth = 3;
inline constexpr int maxEntries = 16;

inline QVariantMap map(FuzzReader& in, std::initializer_list<const char*> keys, int depth = 0);

inline QVariant value(FuzzReader& in, std::initializer_list<const char*> keys, int depth)
{
    switch (in.byte() % 14) {
    case 0:
        return QString::fromUtf8(in.terminated());
    case 1: {
        QStringList list;
        for (int count = in.byte() % 4; count > 0; --count)
            list.append(QString::fromUtf8(in.terminated()));
        return list;
    }
    case 2:
        return bool(in.byte() & 1);
    case 3:
        return in.number<qint32>();
    case 4:
        return in.number<quint32>();
    case 5:
        return in.number<qint64>();
    case 6:
        return in.number<quint64>();
    case 7:
        return in.number<double>();
    case 8:
        return in.terminated();
    case 9:
        // The bus lets only valid object paths through.
        return QVariant::fromValue(
            QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/Track/%1").arg(in.number<quint16>())));
    case 10:
        return QVariant::fromValue(in.number<qint16>());
    case 11:
        return QVariant::fromValue(in.number<quint8>());
    case 12:
        if (depth < maxDepth)
            return QVariant::fromValue(QDBusVariant(value(in, keys, depth + 1)));
        return QString::fromUtf8(in.terminated());
    default:
        if (depth < maxDepth)
            return map(in, keys, depth + 1);
        return QString::fromUtf8(in.terminated());
    }
}

inline QVariantMap map(FuzzReader& in, std::initializer_list<const char*> keys, int depth)
{
    QVariantMap entries;
    for (int count = in.byte() % (maxEntries + 1); count > 0 && !in.atEnd(); --count) {
        const std::size_t pick = in.byte();
        const QString key =
            pick < keys.size() ? QString::fromUtf8(keys.begin()[pick]) : QString::fromUtf8(in.terminated());
        entries.insert(key, value(in, keys, depth));
    }
    return entries;
}

} // namespace FuzzVariantMap
