#include "platform/linux/music/ArtworkDownloads.h"

#include "support/LocalHttpServer.h"
#include "support/TempHome.h"

#include <QDir>
#include <QTest>

namespace {

using namespace std::chrono_literals;

const QByteArray kPng = QByteArray("\x89PNG\r\n\x1a\n", 8) + "a small cover";

class ArtworkDownloadsTest : public TempHome {
protected:
    // Waits on the event loop for the one answer of a fetch.
    std::optional<QString> fetched(const QString& path)
    {
        std::optional<std::optional<QString>> answer;
        m_downloads.fetch(m_web.url(path),
                          [&answer](std::optional<QString> file) { answer = std::move(file); });
        EXPECT_TRUE(QTest::qWaitFor([&answer] { return answer.has_value(); }));
        return answer.value_or(std::nullopt);
    }

    [[nodiscard]] QStringList kept() const { return QDir(m_folder).entryList(QDir::Files); }

    QString m_folder = m_dir.filePath(QStringLiteral("artwork"));
    LocalHttpServer m_web;
    ArtworkDownloads m_downloads{m_folder, {200ms, 64, 2}};
};

TEST_F(ArtworkDownloadsTest, DownloadsAreBoundedInSizeAndTime)
{
    m_web.answer(QStringLiteral("/big"), kPng + QByteArray(64, 'x'), 200, "image/png");
    m_web.stall(QStringLiteral("/slow"));
    EXPECT_EQ(fetched(QStringLiteral("/big")), std::nullopt);
    EXPECT_EQ(fetched(QStringLiteral("/slow")), std::nullopt);
    EXPECT_TRUE(kept().isEmpty());
}

TEST_F(ArtworkDownloadsTest, OnlyTheLatestPicturesAreKeptAndALaterAddressReplacesOneStillOut)
{
    writeFile(m_folder + QStringLiteral("/left from an earlier run"), kPng);
    for (const char* path : {"/a", "/b", "/c"})
        m_web.answer(QString::fromLatin1(path), kPng + path, 200, "image/jpeg");
    m_web.stall(QStringLiteral("/slow"));

    std::optional<std::optional<QString>> given;
    m_downloads.fetch(m_web.url(QStringLiteral("/slow")), [&given](auto file) { given = file; });
    const std::optional<QString> a = fetched(QStringLiteral("/a"));
    ASSERT_TRUE(given.has_value());
    EXPECT_EQ(*given, std::nullopt);
    ASSERT_TRUE(a);
    EXPECT_EQ(readFile(*a), kPng + "/a");

    const std::optional<QString> b = fetched(QStringLiteral("/b"));
    ASSERT_TRUE(b);
    EXPECT_EQ(fetched(QStringLiteral("/a")), a);
    ASSERT_TRUE(fetched(QStringLiteral("/c")));
    EXPECT_EQ(kept().size(), 2);
    EXPECT_FALSE(exists(*b)) << "the picture fetched longest ago goes first";
    EXPECT_EQ(m_web.targets().count(QStringLiteral("/a")), 1);
}

} // namespace
