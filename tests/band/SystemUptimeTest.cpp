#include "band/SystemUptime.h"

#include "support/LogCapture.h"
#include "support/TempHome.h"

namespace {

class SystemUptimeTest : public TempHome {
protected:
    QString proc() const { return m_dir.filePath(QStringLiteral("proc")); }
};

TEST_F(SystemUptimeTest, ReadsTheFirstNumberWithOrWithoutALineEnd)
{
    const std::pair<const char*, const char*> cases[] = {{"90000.00 7000.1\n", "1d 1h"}, {"3600", "1h 0m"}};
    for (const auto& [contents, text] : cases) {
        SCOPED_TRACE(contents);
        writeFile(proc() + QStringLiteral("/uptime"), contents);
        EXPECT_EQ(SystemUptime(proc()).text(), QLatin1String(text));
    }
}

TEST_F(SystemUptimeTest, AMissingOrTruncatedFileReadsAsUnknownAndIsLoggedOnce)
{
    const char* const contents[] = {"", "12a.5 3", "-4 3", "inf 1"};
    for (const char* content : contents) {
        SCOPED_TRACE(content);
        const LogCapture log;
        writeFile(proc() + QStringLiteral("/uptime"), content);
        SystemUptime uptime(proc());
        EXPECT_EQ(uptime.text(), QStringLiteral("…"));
        EXPECT_FALSE(uptime.seconds());
        EXPECT_EQ(log.lines().size(), 1);
    }
    const LogCapture log;
    EXPECT_FALSE(SystemUptime(m_dir.filePath(QStringLiteral("nothing"))).seconds());
}

} // namespace
