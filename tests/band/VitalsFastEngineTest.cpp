#include "band/VitalsFastEngine.h"

#include "platform/linux/ProcVitalsCounters.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Counters {
    QByteArray cpu = "100 0 100 800 0";
    quint64 memTotal = 1000;
    quint64 memAvailable = 250;
    quint64 ethDown = 1000;
    quint64 ethUp = 500;
};

class VitalsFastEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(m_proc.path()).mkpath(QStringLiteral("net"));
        write(Counters{});
    }

    void write(const Counters& c) const
    {
        writeFile("stat", "cpu  " + c.cpu + " 0 7 0 0 0\ncpu0 1 2 3 4 5\nintr 1\n");
        writeFile("meminfo", "MemTotal:       " + QByteArray::number(c.memTotal) +
                                 " kB\nMemFree:          10 kB\nMemAvailable:   " +
                                 QByteArray::number(c.memAvailable) + " kB\n");
        // Loopback and a bridge that is down move lots of bytes that must not count.
        writeFile("net/dev", "Inter-|   Receive\n face |bytes    packets\n"
                             "    lo: 9999999 1 0 0 0 0 0 0 9999999 1 0 0 0 0 0 0\n"
                             "  eth0:" +
                                 QByteArray::number(c.ethDown) + " 1 0 0 0 0 0 0 " +
                                 QByteArray::number(c.ethUp) +
                                 " 1 0 0 0 0 0 0\n"
                                 "docker0: " +
                                 QByteArray::number(c.ethDown * 7) + " 1 0 0 0 0 0 0 5 1 0 0 0 0 0 0\n");
    }

    void writeFile(const char* name, const QByteArray& bytes) const
    {
        QFile file(m_proc.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QTemporaryDir m_proc;
    double m_uptime = 100;
    ProcVitalsCounters m_counters{m_proc.path(),
                                  [](const char* name) { return QByteArray(name) != "docker0"; },
                                  [this] { return m_uptime; }};
    VitalsFastEngine m_engine{m_counters};
};

TEST_F(VitalsFastEngineTest, TheFirstSamplePublishesMemoryAndTheSecondTheRates)
{
    m_engine.start();
    EXPECT_DOUBLE_EQ(m_engine.memory(), 0.75);
    EXPECT_EQ(m_engine.cpu(), 0);
    EXPECT_EQ(m_engine.netDown(), 0);

    // Busy = user + nice + system grows by 150; idle + iowait by 50.
    write({"200 10 140 800 50", 1000, 500, 5000, 1500});
    m_uptime += 2;
    m_engine.sample();

    EXPECT_DOUBLE_EQ(m_engine.cpu(), 0.75);
    EXPECT_DOUBLE_EQ(m_engine.memory(), 0.5);
    EXPECT_DOUBLE_EQ(m_engine.netDown(), 2000);
    EXPECT_DOUBLE_EQ(m_engine.netUp(), 500);
}

TEST_F(VitalsFastEngineTest, CountersGoingBackSkipOneSampleAndTheIntervalHasAFloor)
{
    m_engine.start();
    write({"100 0 100 800 0", 1000, 250, 3000, 500});
    m_uptime += 2;
    m_engine.sample();
    ASSERT_DOUBLE_EQ(m_engine.netDown(), 1000);

    write({"100 0 100 800 0", 1000, 250, 10, 600});
    m_uptime += 2;
    m_engine.sample();
    EXPECT_DOUBLE_EQ(m_engine.netDown(), 1000);

    write({"100 0 100 800 0", 1000, 250, 20, 600});
    m_engine.sample();
    EXPECT_DOUBLE_EQ(m_engine.netDown(), 10 / 0.001);
}

TEST_F(VitalsFastEngineTest, UnreadableFilesKeepTheRatesAndZeroMemory)
{
    const struct {
        const char* file;
        QByteArray content; // empty: the file is missing
    } cases[] = {
        {"stat", "cpu  1 2\n"},
        {"stat", {}},
        {"meminfo", "MemTotal: 1000 kB\n"},
        {"meminfo", "MemTotal: 0 kB\nMemAvailable: 0 kB\n"},
        {"net/dev", "Inter-|\n face |\n"},
        {"net/dev", "Inter-|\n face |\n  eth0: 12"},
        {"net/dev", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + (' ' + c.content.toStdString()));
        VitalsFastEngine engine(m_counters);
        write(Counters{});
        engine.start();
        write({"200 0 100 900 0", 1000, 250, 3000, 500});
        m_uptime += 2;
        engine.sample();

        write({"300 0 200 900 0", 1000, 250, 9000, 500});
        if (c.content.isEmpty())
            QFile::remove(m_proc.filePath(QString::fromLatin1(c.file)));
        else
            writeFile(c.file, c.content);
        m_uptime += 2;
        engine.sample();

        const QByteArray broken(c.file);
        EXPECT_DOUBLE_EQ(engine.cpu(), broken == "stat" ? 0.5 : 1.0);
        EXPECT_DOUBLE_EQ(engine.memory(), broken == "meminfo" ? 0 : 0.75);
        EXPECT_DOUBLE_EQ(engine.netDown(), broken == "net/dev" ? 1000 : 3000);
    }
}

TEST_F(VitalsFastEngineTest, StoppingForgetsTheBaseline)
{
    m_engine.start();
    m_engine.stop();
    EXPECT_FALSE(m_engine.isRunning());
    write({"900 0 900 900 0", 1000, 250, 90000, 500});
    m_uptime += 2;
    m_engine.start();
    EXPECT_EQ(m_engine.cpu(), 0);
    EXPECT_EQ(m_engine.netDown(), 0);
}

} // namespace
