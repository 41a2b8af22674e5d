#include "platform/linux/PaplayClickSound.h"

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

TEST_F(PaplayClickSoundTest, ThePopIsAShortQuietPcmWaveThatStartsAndEndsInSilence)
{
    const QByteArray wav = PaplayClickSound::popWav();
    ASSERT_GE(wav.size(), 44);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(field<quint32>(wav, 4), quint32(wav.size() - 8));
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(field<quint32>(wav, 16), 16u);
    EXPECT_EQ(field<quint16>(wav, 20), 1u);     // PCM
    EXPECT_EQ(field<quint16>(wav, 22), 1u);     // mono
    EXPECT_EQ(field<quint32>(wav, 24), 44100u); // samples a second
    EXPECT_EQ(field<quint32>(wav, 28), 88200u); // bytes a second
    EXPECT_EQ(field<quint16>(wav, 32), 2u);     // bytes a frame
    EXPECT_EQ(field<quint16>(wav, 34), 16u);    // bits a sample
    EXPECT_EQ(wav.mid(36, 4), "data");
    const quint32 dataSize = field<quint32>(wav, 40);
    ASSERT_EQ(dataSize, quint32(wav.size() - 44));

    const int samples = static_cast<int>(dataSize / 2);
    EXPECT_NEAR(samples / 44100.0, 0.06, 0.001);
    int loudest = 0;
    for (int i = 0; i < samples; ++i)
        loudest = std::max(loudest, std::abs(int{field<qint16>(wav, 44 + 2 * i)}));
    EXPECT_GT(loudest, 8000) << "audible";
    EXPECT_LT(loudest, 20000) << "soft";
    EXPECT_LT(std::abs(int{field<qint16>(wav, 44)}), 100);
    EXPECT_LT(std::abs(int{field<qint16>(wav, 44 + 2 * (samples - 1))}), 100);
}

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

TEST_F(PaplayClickSoundTest, WritesTheSoundOnceAndNeverWaitsForThePlayer)
{
    PaplayClickSound sound(m_processes, paplay, soundFile());
    sound.play(1.0);
    ASSERT_TRUE(QFile::remove(soundFile()));
    sound.play(1.0);
    EXPECT_FALSE(exists(soundFile())) << "written once a process";
    ASSERT_EQ(m_processes.calls().size(), 2u);
    for (const auto& call : m_processes.calls())
        EXPECT_FALSE(call.waited);
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
