#include "icons/IconImport.h"

#include "core/BackgroundQueue.h"
#include "support/LogCapture.h"
#include "support/TempHome.h"
#include "support/TestImages.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>

namespace {

QImage logo()
{
    QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(QRect(50, 100, 300, 100), Qt::blue);
    return image;
}

QImage oneColour()
{
    QImage image(700, 700, QImage::Format_RGB32);
    image.fill(Qt::gray);
    return image;
}

class IconImportTest : public TempHome {
protected:
    IconImport m_import{m_paths.iconsDir()};

    [[nodiscard]] QString picture(const QString& name, const QByteArray& bytes) const
    {
        const QString path = m_dir.filePath(QStringLiteral("Pictures/") + name);
        writeFile(path, bytes);
        return path;
    }

    [[nodiscard]] QStringList iconFiles() const
    {
        return QDir(m_paths.iconsDir()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(IconImportTest, EveryImportIsANewUpperCaseUuidFileInTheIconsFolder)
{
    const QString source = picture(QStringLiteral("logo.png"), TestImages::png(logo()));
    const std::optional<QString> first = m_import.importImage(source);
    const std::optional<QString> second = m_import.importImage(source);
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    const QRegularExpression uuidName(QStringLiteral("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\.png$"));
    EXPECT_TRUE(uuidName.match(*first).hasMatch()) << first->toStdString();
    QStringList both{*first, *second};
    both.sort();
    EXPECT_EQ(iconFiles(), both);
    EXPECT_EQ(QImage(m_paths.iconsDir() + u'/' + *first).size(), QSize(326, 326));

    // A picture with nothing on it is kept, only limited in size.
    const std::optional<QString> plain =
        m_import.importImage(picture(QStringLiteral("grey.png"), TestImages::png(oneColour())));
    ASSERT_TRUE(plain);
    EXPECT_EQ(QImage(m_paths.iconsDir() + u'/' + *plain).size(), QSize(512, 512));
}

TEST_F(IconImportTest, WhatCannotBeDecodedLogsOneLineAndWritesNothing)
{
    const std::pair<QString, QString> cases[] = {
        {picture(QStringLiteral("notes.png"), "just some text\n"),
         QStringLiteral("Marquetto: icon import failed: could not decode notes.png")},
        {m_dir.filePath(QStringLiteral("gone.jpg")),
         QStringLiteral("Marquetto: icon import failed: could not decode gone.jpg")},
        {picture(QStringLiteral("bomb.png"), TestImages::pngClaimingSize(100000, 100000)),
         QStringLiteral("Marquetto: icon import failed: could not decode bomb.png")},
        {picture(QStringLiteral("manual.pdf"), "%PDF-1.7\n"),
         QStringLiteral("Marquetto: icon import failed: PDF files are not supported here")},
    };
    for (const auto& [path, line] : cases) {
        LogCapture log;
        EXPECT_EQ(m_import.importImage(path), std::nullopt) << path.toStdString();
        EXPECT_EQ(log.lines(), QStringList{line});
    }
    EXPECT_EQ(iconFiles(), QStringList());
}

TEST_F(IconImportTest, AFolderThatCannotBeWrittenLogsWhyAndHoldsNothing)
{
    // A file where the icons folder belongs: even the superuser cannot write into it.
    writeFile(m_paths.iconsDir(), "in the way");
    const std::pair<QImage, QString> cases[] = {
        {logo(), QStringLiteral("Marquetto: icon normalize-write failed: ")},
        {oneColour(), QStringLiteral("Marquetto: icon import failed: ")},
    };
    for (const auto& [image, prefix] : cases) {
        LogCapture log;
        EXPECT_EQ(m_import.importImage(picture(QStringLiteral("p.png"), TestImages::png(image))),
                  std::nullopt);
        ASSERT_EQ(log.lines().size(), 1);
        EXPECT_TRUE(log.lines().first().startsWith(prefix)) << log.lines().first().toStdString();
    }
    EXPECT_EQ(readFile(m_paths.iconsDir()), "in the way");
}

TEST_F(IconImportTest, TheAsynchronousImportAnswersOnTheMainThreadWhileItsContextLives)
{
    const QString source = picture(QStringLiteral("logo.png"), TestImages::png(logo()));
    QObject context;
    std::optional<std::optional<QString>> answer;
    m_import.importImageAsync(source, &context, [&](std::optional<QString> name) {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        answer = std::move(name);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }));
    EXPECT_TRUE(answer->has_value());

    bool called = false;
    {
        QObject gone;
        m_import.importImageAsync(source, &gone, [&](std::optional<QString>) { called = true; });
    }
    BackgroundQueue::waitForDone();
    QCoreApplication::processEvents();
    EXPECT_FALSE(called);
}

} // namespace
