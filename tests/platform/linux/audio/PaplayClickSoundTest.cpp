#include "platform/linux/audio/PaplayClickSound.h"

#include "support/FakeProcessRunner.h"
#include "support/LogCapture.h"
#include "support/TempHome.h"

#include <QFile>
#include <QtEndian>
#include <cmath>
#include <limits>

namespace {

const QString paplay = QStringLiteral("/usr/bin/paplay");

template <typename T>
T field(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

class PaplayClickSoundTest : public TempHome {
protected:
    QString soundFile() const { return m_dir.filePath(QStringLiteral("runtime/marquetto-pop.wav")); }

    FakeProcessRunner m_processes;
};

TEST_F(PaplayClickSoundTest, PlaysTheWrittenPopAtTheVolumeOnPaplaysScale)
{
    struct Case {
        double volume;
        const char* argument; // nullptr: nothing plays
    };
    const Case cases[] = {
        {1.0, "--volume=65536"},
        {0.5, "--volume=32768"},
        {0.3, "--volume=19661"},
        {1.7, "--volume=65536"},
        {0.0, nullptr},
        {-1.0, nullptr},
        {std::numeric_limits<double>::quiet_NaN(), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.volume);
        FakeProcessRunner processes;
        PaplayClickSound sound(processes, paplay, soundFile());
        sound.play(c.volume);
        if (c.argument == nullptr) {
            EXPECT_TRUE(processes.calls().empty());
            continue;
        }
        EXPECT_EQ(processes.calls(), (std::vector<FakeProcessRunner::Call>{
                                         {paplay, {QLatin1String(c.argument), soundFile()}, false}}));
    }
    EXPECT_EQ(readFile(soundFile()), PaplayClickSound::popWav());
}

TEST_F(PaplayClickSoundTest, WithoutPaplayOrAPlaceForTheSoundNothingPlaysAndThatIsLoggedOnce)
{
    writeFile(m_dir.filePath(QStringLiteral("blocked")), "a file where a folder should be");
    struct Case {
        const char* name;
        QString player;
        QString file;
    };
    const Case cases[] = {
        {"no paplay", QString(), soundFile()},
        {"unwritable", paplay, m_dir.filePath(QStringLiteral("blocked/pop.wav"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LogCapture log;
        FakeProcessRunner processes;
        PaplayClickSound sound(processes, c.player, c.file);
        sound.play(1.0);
        sound.play(1.0);
        EXPECT_TRUE(processes.calls().empty());
        EXPECT_EQ(log.lines().size(), 1) << log.lines().join(QLatin1Char('\n')).toStdString();
    }
}

} // namespace
