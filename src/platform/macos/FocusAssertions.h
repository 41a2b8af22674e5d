#pragma once

#include "core/ProcessRunner.h"
#include "platform/DoNotDisturb.h"
#include "platform/Workspace.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The Mac's Do Not Disturb: read from the Focus assertion file under the user's home folder (which needs Full
// Disk Access), switched by running the user's two shortcuts `onShortcut` and `offShortcut`, ready only when
// both are in the user's Shortcuts library.
class FocusAssertions final : public DoNotDisturb {
    Q_OBJECT
public:
    static inline const QString onShortcut = QStringLiteral("Do Not Disturb On");
    static inline const QString offShortcut = QStringLiteral("Do Not Disturb Off");
    static inline const QString doNotDisturbMode = QStringLiteral("com.apple.donotdisturb.mode.default");
    // Larger files are no assertion file of the system's: they are not parsed, and count as no Focus.
    static constexpr qint64 largestFile = 8 * 1024 * 1024;

    // `processes` and `workspace` outlive this object.
    FocusAssertions(const QString& home, ProcessRunner& processes, Workspace& workspace,
                    QObject* parent = nullptr);

    void read(QObject* context, std::function<void(Reading)> done) override;
    void checkReady(QObject* context, std::function<void(bool)> done) override;
    bool turn(bool on) override;
    void openAccessSettings() override;

    [[nodiscard]] static QString path(const QString& home);
    // Reads the file at `path`. Blocks.
    [[nodiscard]] static Reading reading(const QString& path);
    // The identifier of the first Focus mode asserted in the document, or nothing.
    [[nodiscard]] static std::optional<QString> activeMode(const QByteArray& document);

private:
    QString m_path;
    ProcessRunner& m_processes;
    Workspace& m_workspace;
};
