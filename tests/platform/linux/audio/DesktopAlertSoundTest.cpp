#include "platform/linux/audio/DesktopAlertSound.h"

#include "support/FakeProcessRunner.h"
#include "support/LogCapture.h"
#include "support/TempHome.h"

namespace {

const QString canberra = QStringLiteral("/usr/bin/canberra-gtk-play");
const QString paplay = QStringLiteral("/usr/bin/paplay");

class DesktopAlertSoundTest : public TempHome {
protected:
    QString toneFile() const { return m_dir.filePath(QStringLiteral("runtime/marquetto-alert.wav")); }
};

TEST_F(DesktopAlertSoundTest, PlaysTheThemesSoundElseOurOwnToneElseNothing)
{
    const struct {
        const char* name;
        QString canberra;
        QString paplay;
        std::vector<FakeProcessRunner::Call> calls;
        qsizetype logLines;
    } cases[] = {
        {"theme",
         canberra,
         paplay,
         {{canberra, {QStringLiteral("-i"), QStringLiteral("complete")}, false}},
         0},
        {"own tone", QString(), paplay, {{paplay, {toneFile()}, false}}, 0},
        {"neither", QString(), QString(), {}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LogCapture log;
        FakeProcessRunner processes;
        DesktopAlertSound sound(processes, c.canberra, c.paplay, toneFile());
        sound.play();
        EXPECT_EQ(processes.calls(), c.calls);
        sound.play();
        EXPECT_EQ(log.lines().size(), c.logLines);
    }
    EXPECT_EQ(readFile(toneFile()), DesktopAlertSound::chimeWav());
}

} // namespace
