#pragma once

#include "core/ProcessRunner.h"
#include "platform/DoNotDisturb.h"

#include <QString>
#include <optional>

// GNOME's Do Not Disturb, which is its notification banners switched off: `show-banners` of
// `org.gnome.desktop.notifications`, read and written with the `gsettings` program. Always ready; an answer
// that is not a boolean tells nothing.
class GnomeDoNotDisturb final : public DoNotDisturb {
    Q_OBJECT
public:
    // `processes` outlives this object; `gsettings` is that program's path.
    GnomeDoNotDisturb(ProcessRunner& processes, QString gsettings, QObject* parent = nullptr);

    void read(QObject* context, std::function<void(Reading)> done) override;
    bool turn(bool on) override;
    void openAccessSettings() override {}

    // Whether Do Not Disturb is on, from what `gsettings get` printed for `show-banners`.
    [[nodiscard]] static std::optional<bool> parseShowBanners(const QString& output);

private:
    ProcessRunner& m_processes;
    QString m_gsettings;
};
