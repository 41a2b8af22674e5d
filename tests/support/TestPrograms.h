#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>

// The desktop's programs as the desktop tests start them: with the test's home and none of the caller's XDG
// folders, so that what they keep goes to the test and not to the home of whoever runs the tests, and with
// their chatter thrown away.
namespace TestPrograms {

// Those of `programs` that cannot be found, by name; empty when all can.
[[nodiscard]] QStringList missing(const QStringList& programs);
// The test's environment, with `home` for its home.
[[nodiscard]] QProcessEnvironment environment(const QString& home);
// Starts `program` in `process` so, with `extra` on top of the environment; false when it does not start.
[[nodiscard]] bool start(QProcess& process, const QString& home, const QString& program,
                         const QStringList& arguments = {}, const QProcessEnvironment& extra = {});
// Starts `program` so and waits until it owns `name` on `bus`; false, with `error` saying why, when it does
// not within fifteen seconds.
[[nodiscard]] bool startService(QProcess& process, const QString& home, const QString& program,
                                const QStringList& arguments, QDBusConnection& bus, const QString& name,
                                QString& error, const QProcessEnvironment& extra = {});
// Runs `program` so to its end; what it printed, or nothing when it failed or took over five seconds.
[[nodiscard]] std::optional<QString> run(const QString& home, const QString& program,
                                         const QStringList& arguments);
// Asks a program the test started to end, and kills it when it does not within five seconds.
void stop(QProcess& process);

} // namespace TestPrograms
