#include "band/VitalsFastEngine.h"

#include "platform/linux/system/ProcVitalsCounters.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Counters {
    // user nice system idle iowait irq softirq steal guest guest_nice
    QByteArray cpu = "100 0 100 800 0 0 0 0 0 0";
    quint64 memTotal = 1000;
    quint64 memAvailable = 250;
    quint64 ethDown = 1000;
    quint64 ethUp = 500;
    quint64 wlanDown = 0;
    quint64 wlanUp = 0;
};

class VitalsFastEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(m_proc.path()).mkpath(QStringLiteral("net"));
        // The two interfaces with a device; a bridge and one end of a virtual pair without.
        for (const char* folder : {"eth0/device", "wlan0/device", "docker0", "veth0a"})
            QDir(m_netClass.path()).mkpath(QLatin1String(folder));
        write(Counters{});
    }

    void write(const Counters& c) const
    {
        writeFile("stat", "cpu  " + c.cpu + "\ncpu0 1 2 3 4 5\nintr 1\n");
        writeFile("meminfo", "MemTotal:       " + QByteArray::number(c.memTotal) +
                                 " kB\nMemFree:          10 kB\nMemAvailable:   " +
                                 QByteArray::number(c.memAvailable) + " kB\n");
        const auto line = [](const char* name, quint64 down, quint64 up) {
            return QByteArray(name) + ": " + QByteArray::number(down) + " 1 0 0 0 0 0 0 " +
                   QByteArray::number(up) + " 1 0 0 0 0 0 0\n";
        };
        // Loopback, the bridge and the virtual pair move lots of bytes that must not count: they are the
        // same bytes again, or never leave the machine.
        writeFile("net/dev",
                  "Inter-|   Receive\n face |bytes    packets\n" + line("    lo", 9999999, 9999999) +
                      line("  eth0", c.ethDown, c.ethUp) + line("docker0", c.ethDown * 7, 5) +
                      line("veth0a", c.ethDown * 3, c.ethUp * 3) + line(" wlan0", c.wlanDown, c.wlanUp));
    }

    void writeFile(const char* name, const QByteArray& bytes) const
    {
        QFile file(m_proc.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QTemporaryDir m_proc;
    QTemporaryDir m_netClass;
    double m_uptime = 100;
    bool m_wlanUp = true;
    ProcVitalsCounters m_counters{
        m_proc.path(), m_netClass.path(),
        [this](const char* name) { return m_wlanUp || QByteArray(name) != "wlan0"; },
        [this] { return m_uptime; }};
    VitalsFastEngine m_engine{m_counters};
};

TEST_F(VitalsFastEngineTest, TheFirstSamplePublishesMemoryAndTheSecondTheRates)
{
    m_engine.start();
    EXPECT_DOUBLE_EQ(m_engine.memory(), 0.75);
    EXPECT_EQ(m_engine.cpu(), 0);
    EXPECT_EQ(m_engine.netDown(), 0);

    // Busy = user + nice + system + irq + softirq + steal grows by 150; idle + iowait by 50.
    write({"200 10 100 800 50 10 20 10 4 0", 1000, 500, 5000, 1500, 100, 200});
    m_uptime += 2;
    m_engine.sample();

    EXPECT_DOUBLE_EQ(m_engine.cpu(), 0.75);
    EXPECT_DOUBLE_EQ(m_engine.memory(), 0.5);
    EXPECT_DOUBLE_EQ(m_engine.netDown(), 2050);
    EXPECT_DOUBLE_EQ(m_engine.netUp(), 600);
}

TEST_F(VitalsFastEngineTest, AnInterfaceComingUpOrGoingDownIsNeitherASpikeNorAGap)
{
    Counters counters;
    counters.wlanDown = 5'000'000'000;
    counters.wlanUp = 900'000'000;
    m_wlanUp = false;
    write(counters);
    m_engine.start();

    const auto step = [&](bool wlanUp) {
        counters.ethDown += 2000;
        counters.wlanDown += 4000;
        counters.wlanUp += 4000;
        m_wlanUp = wlanUp;
        write(counters);
        m_uptime += 2;
        m_engine.sample();
    };
    step(true);
    EXPECT_DOUBLE_EQ(m_engine.netDown(), 1000) << "only eth0 was up at both samples";
    EXPECT_DOUBLE_EQ(m_engine.netUp(), 0);
    step(true);
    EXPECT_DOUBLE_EQ(m_engine.netDown(), 3000);
    EXPECT_DOUBLE_EQ(m_engine.netUp(), 2000);
    step(false);
    EXPECT_DOUBLE_EQ(m_engine.netDown(), 1000) << "what stays up still counts";
    EXPECT_DOUBLE_EQ(m_engine.netUp(), 0);
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
