#include "transfer/DeckFingerprint.h"

#include "core/CanonicalJson.h"
#include "model/TileCoding.h"

#include <QCryptographicHash>
#include <QJsonObject>

QString DeckFingerprint::of(const Pages& pages, int columns, int rows)
{
    const QJsonObject fingerprinted{
        {QStringLiteral("columns"), columns},
        {QStringLiteral("pages"), TileCoding::encode(pages)},
        {QStringLiteral("rows"), rows},
    };
    const QByteArray bytes = CanonicalJson::write(fingerprinted);
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}
