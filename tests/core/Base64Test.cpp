#include "core/Base64.h"

#include <QRandomGenerator>
#include <QString>
#include <gtest/gtest.h>

namespace {

TEST(Base64, DecodesWhatQtEncodesAndRefusesWhatIsNotStandardPaddedBase64)
{
    QRandomGenerator random(11);
    for (int size = 0; size < 40; ++size) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (char& byte : bytes)
            byte = static_cast<char>(random.generate());
        const QString text = QString::fromLatin1(bytes.toBase64());
        EXPECT_EQ(Base64::decode(text), bytes) << text.toStdString();
    }
    for (const QString& text :
         {QStringLiteral("QUJD="), QStringLiteral("QU=D"), QStringLiteral("Q==="), QStringLiteral("===="),
          QStringLiteral("QUJ-"), QStringLiteral("QUJ_"), QStringLiteral("QUJDQQ"),
          QStringLiteral("QU\u00C9D"), QStringLiteral("QU D")})
        EXPECT_FALSE(Base64::decode(text)) << text.toStdString();
}

} // namespace
