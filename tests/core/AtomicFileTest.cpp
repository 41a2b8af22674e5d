#include "core/AtomicFile.h"

#include "support/TempHome.h"

#include <QBuffer>
#include <limits>

class AtomicFileTest : public TempHome {};

TEST_F(AtomicFileTest, ReadsFilesAndDevicesWholeUpToTheLimitAndRefusesLargerOnes)
{
    const QByteArray bytes(100'000, 'x');
    const QString path = m_dir.filePath(QStringLiteral("bytes"));
    writeFile(path, bytes);
    struct Case {
        qint64 limit;
        std::optional<AtomicFile::ReadError> error;
    };
    // The last limit is far beyond any buffer: what is there to read must decide what is set aside.
    for (const Case& c : {Case{99'999, AtomicFile::ReadError::tooLarge}, Case{100'000, std::nullopt},
                          Case{std::numeric_limits<qint64>::max() - 1, std::nullopt}}) {
        const auto read = AtomicFile::read(path, c.limit);
        if (c.error)
            EXPECT_EQ(read.error(), *c.error) << c.limit;
        else
            EXPECT_EQ(read->size(), 100'000) << c.limit;

        QBuffer in;
        in.setData(bytes);
        in.open(QIODevice::ReadOnly);
        const auto readWithin = AtomicFile::readAllWithin(in, c.limit);
        EXPECT_EQ(readWithin.has_value(), !c.error) << c.limit;
        if (readWithin) {
            EXPECT_EQ(*readWithin, bytes) << c.limit;
        }
    }
    EXPECT_EQ(AtomicFile::read(path + QStringLiteral(".missing"), 10).error(),
              AtomicFile::ReadError::unreadable);
}

TEST_F(AtomicFileTest, ReadsFilesWhoseSizeIsNotReported)
{
    const auto read = AtomicFile::read(QStringLiteral("/proc/self/status"), 1'000'000);
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->contains("Name:"));
}
