#include "platform/linux/appearance/GnomeReduceMotion.h"

#include "support/TempHome.h"

#include <QFile>
#include <QSignalSpy>

namespace {

using namespace std::chrono_literals;

TEST(GnomeReduceMotionParse, ReadsGetAndMonitorLinesAndOnlyGnome)
{
    EXPECT_EQ(GnomeReduceMotion::parseEnableAnimations(u"false\n"), false);
    EXPECT_EQ(GnomeReduceMotion::parseEnableAnimations(u"true"), true);
    EXPECT_EQ(GnomeReduceMotion::parseEnableAnimations(u"enable-animations: false\n"), false);
    for (const char16_t* other : {u"", u"No such schema", u"enable-animations: 0", u"other-key: false"})
        EXPECT_EQ(GnomeReduceMotion::parseEnableAnimations(other), std::nullopt);

    EXPECT_TRUE(GnomeReduceMotion::isGnome(u"GNOME"));
    EXPECT_TRUE(GnomeReduceMotion::isGnome(u"ubuntu:GNOME"));
    EXPECT_FALSE(GnomeReduceMotion::isGnome(u"KDE"));
    EXPECT_FALSE(GnomeReduceMotion::isGnome(u"GNOME-Flashback"));
    EXPECT_FALSE(GnomeReduceMotion::isGnome(u""));
}

class GnomeReduceMotionProgramTest : public TempHome {
protected:
    // A stand-in for gsettings: `get` answers `value`, `monitor` runs `monitor`; any other question fails.
    QString fakeSettings(const QByteArray& value, const QByteArray& monitor) const
    {
        const QString path = m_dir.path() + QStringLiteral("/bin/gsettings");
        writeFile(path, "#!/bin/sh\n"
                        "case \"$*\" in\n"
                        "'get org.gnome.desktop.interface enable-animations') echo " +
                            value +
                            ";;\n"
                            "'monitor org.gnome.desktop.interface enable-animations') " +
                            monitor +
                            ";;\n"
                            "*) exit 64;;\n"
                            "esac\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
};

TEST_F(GnomeReduceMotionProgramTest, ReadsTheSettingAtStartAndFollowsItsChanges)
{
    GnomeReduceMotion reduce(
        fakeSettings("false",
                     "echo 'enable-animations: false'; echo 'enable-animations: true'; exec sleep 30"),
        10s);
    EXPECT_TRUE(reduce.isOn());
    QSignalSpy changed(&reduce, &ReduceMotion::changed);
    ASSERT_TRUE(changed.wait());
    EXPECT_FALSE(reduce.isOn());
    EXPECT_EQ(changed.count(), 1) << "the unchanged value is no change";
}

TEST_F(GnomeReduceMotionProgramTest, AMissingOrFailingProgramReducesNothing)
{
    EXPECT_FALSE(GnomeReduceMotion(m_dir.path() + QStringLiteral("/bin/absent"), 10s).isOn());
    EXPECT_FALSE(GnomeReduceMotion(fakeSettings("'No such schema'; exit 1", "exit 1"), 10s).isOn());
}

} // namespace
