#pragma once

#include "platform/ReduceMotion.h"

#include <QProcess>
#include <QString>
#include <chrono>
#include <optional>

// GNOME's "enable-animations" of org.gnome.desktop.interface, read through the `gsettings` program: once with
// `gsettings get` when made, then followed with a `gsettings monitor` child that stays asleep until the
// setting changes. Animations switched off mean reduce motion. A program that is missing, fails or answers
// something else leaves motion as it was (not reduced at first); a monitor that ends is not restarted.
class GnomeReduceMotion final : public ReduceMotion {
    Q_OBJECT
public:
    // Blocks for at most `timeout` while the first value is read.
    GnomeReduceMotion(const QString& gsettings, std::chrono::milliseconds timeout, QObject* parent = nullptr);
    ~GnomeReduceMotion() override;

    [[nodiscard]] bool isOn() const override { return m_on; }

    // The value in a line gsettings prints: "false" from `get`, "enable-animations: false" from `monitor`.
    // Anything else gives nothing.
    [[nodiscard]] static std::optional<bool> parseEnableAnimations(QStringView line);
    // Whether XDG_CURRENT_DESKTOP's colon-separated list names GNOME, whose setting this is.
    [[nodiscard]] static bool isGnome(QStringView currentDesktop);

private:
    void readMonitor();
    void apply(bool enableAnimations);

    QProcess m_monitor;
    bool m_on = false;
};
