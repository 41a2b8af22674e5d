#include "icons/IconFinish.h"

#include "support/QtPrinters.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// A disc on a transparent square: crisp when drawn without antialiasing, soft when its edge fades out.
QImage disc(bool softEdge)
{
    QImage image(128, 128, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (softEdge) {
        QRadialGradient fade(64, 64, 60);
        fade.setColorAt(0.0, Qt::black);
        fade.setColorAt(1.0, Qt::transparent);
        painter.setBrush(fade);
    } else {
        painter.setBrush(Qt::black);
    }
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(64, 64), 60, 60);
    return image;
}

TEST(IconFinishTest, ColourTextsReadAsTheSameColourOrAsNothing)
{
    const QColor orange = QColor::fromRgb(0xff, 0x88, 0x00);
    struct Case {
        QString text;
        std::optional<QColor> expected;
    };
    const Case cases[] = {
        {QStringLiteral("#ff8800"), orange},
        {QStringLiteral(" #FF8800 "), orange},
        {QStringLiteral("FF8800"), orange},
        {QStringLiteral("#000000"), QColor::fromRgb(0, 0, 0)},
        {QStringLiteral("#FFF"), std::nullopt},
        {QStringLiteral("##FF8800"), std::nullopt},
        {QStringLiteral("#FF88001"), std::nullopt},
        {QStringLiteral("#FF880G"), std::nullopt},
        {QStringLiteral("0xFF88"), std::nullopt},
        {QStringLiteral("# FF880"), std::nullopt},
        {QString(), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IconFinish::colorFromHex(c.text), c.expected) << c.text.toStdString();
}

TEST(IconFinishTest, ColourTextIsUpperCaseHashAndSixDigits)
{
    EXPECT_EQ(IconFinish::hexString(QColor::fromRgb(0xff, 0x88, 0x00)), QStringLiteral("#FF8800"));
    EXPECT_EQ(IconFinish::hexString(QColor::fromRgbF(0.5f, 0.0f, 1.0f)), QStringLiteral("#8000FF"));
    EXPECT_EQ(IconFinish::hexString(QColor()), QStringLiteral("#FFFFFF"));
    const QColor read = *IconFinish::colorFromHex(QStringLiteral("#0a1B2c"));
    EXPECT_EQ(IconFinish::hexString(read), QStringLiteral("#0A1B2C"));
}

TEST(IconFinishTest, CrispSilhouettesGetAShadowAndSoftEdgesDoNot)
{
    EXPECT_LT(*IconFinish::softAlphaRatio(disc(false)), 0.065);
    EXPECT_GT(*IconFinish::softAlphaRatio(disc(true)), 0.065);
    EXPECT_EQ(IconFinish::softAlphaRatio(QImage()), std::nullopt);

    IconFinish finish;
    EXPECT_TRUE(finish.needsShadow(disc(false), QStringLiteral("crisp")));
    EXPECT_FALSE(finish.needsShadow(disc(true), QStringLiteral("soft")));
    EXPECT_FALSE(finish.needsShadow(QImage(), QStringLiteral("empty")));
}

} // namespace
