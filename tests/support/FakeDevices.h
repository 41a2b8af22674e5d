#pragma once

#include "platform/AlertPresenter.h"
#include "platform/AudioInput.h"
#include "platform/AudioSystem.h"
#include "platform/Bluetooth.h"
#include "platform/Clipboard.h"
#include "platform/SleepInhibitor.h"
#include "platform/SystemControls.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

// The fakes of the machine's devices and controls. Each records what it was asked in `log`; calls may come
// from background jobs, so the log is guarded.
class FakeLog {
public:
    void add(const QString& entry)
    {
        QMutexLocker lock(&m_mutex);
        m_entries << entry;
    }
    [[nodiscard]] QStringList entries() const
    {
        QMutexLocker lock(&m_mutex);
        return m_entries;
    }

private:
    mutable QMutex m_mutex;
    QStringList m_entries;
};

class FakeAudioSystem final : public AudioSystem {
public:
    std::vector<Device> deviceList;
    std::optional<quint32> defaultOutput;
    FakeLog log;

    [[nodiscard]] std::vector<Device> devices() const override { return deviceList; }
    [[nodiscard]] std::optional<quint32> defaultOutputDevice() const override { return defaultOutput; }
    void setDefaultOutputDevice(quint32 id) override { log.add(QStringLiteral("default %1").arg(id)); }
    void changeOutputVolume(int percent) override { log.add(QStringLiteral("volume %1").arg(percent)); }
    void toggleOutputMute() override { log.add(QStringLiteral("mute")); }
};

// A default input whose controls take every write, unless told otherwise. Not for concurrent jobs.
class FakeAudioInput final : public AudioInput {
public:
    std::optional<Input> input; // nothing: no default input
    bool muteWritesFail = false;
    bool volumeWritesFail = false;
    int follows = 0;
    int reads = 0;
    FakeLog log;

    [[nodiscard]] std::optional<Input> defaultInput() override
    {
        ++reads;
        return input;
    }
    [[nodiscard]] bool setMuted(const QString& name, bool muted) override
    {
        log.add(QStringLiteral("mute %1 %2").arg(name).arg(muted));
        if (muteWritesFail || !input || !input->muted)
            return false;
        input->muted = muted;
        return true;
    }
    [[nodiscard]] bool setVolume(const QString& name, float volume) override
    {
        log.add(QStringLiteral("volume %1 %2").arg(name, QString::number(volume)));
        if (volumeWritesFail || !input || !input->volume)
            return false;
        input->volume = volume;
        return true;
    }
    void follow() override { ++follows; }
};

// Holds requests until the test answers them with `answerAll`; a request released first answers false.
class FakeSleepInhibitor final : public SleepInhibitor {
public:
    bool grants = true;
    bool held = false;
    int releases = 0;

    void inhibit(std::function<void(bool held)> answer) override { m_pending.push_back({std::move(answer)}); }
    [[nodiscard]] QString holder() const override { return held ? QStringLiteral("the test") : QString(); }
    void release() override
    {
        ++releases;
        held = false;
        for (Request& request : m_pending)
            request.cancelled = true;
    }
    void answerAll()
    {
        for (const Request& request : std::exchange(m_pending, {})) {
            const bool granted = grants && !request.cancelled;
            held = held || granted;
            request.answer(granted);
        }
    }

private:
    struct Request {
        std::function<void(bool)> answer;
        bool cancelled = false;
    };
    std::vector<Request> m_pending;
};

class FakeBluetooth final : public Bluetooth {
public:
    std::vector<Device> paired;
    QHash<QString, bool> connected; // address → state; devices not listed here do not exist
    FakeLog log;

    [[nodiscard]] std::vector<Device> pairedDevices() const override { return paired; }
    [[nodiscard]] std::optional<bool> isConnected(const QString& address) const override
    {
        QMutexLocker lock(&m_mutex);
        const auto it = connected.constFind(address);
        return it == connected.constEnd() ? std::nullopt : std::optional(*it);
    }
    void connect(const QString& address) override { change(address, true); }
    void disconnect(const QString& address) override { change(address, false); }

private:
    void change(const QString& address, bool on)
    {
        {
            QMutexLocker lock(&m_mutex);
            connected[address] = on;
        }
        log.add(QStringLiteral("%1 %2").arg(on ? QStringLiteral("connect") : QStringLiteral("disconnect"),
                                            address));
    }
    mutable QMutex m_mutex;
};

class FakeSystemControls final : public SystemControls {
public:
    QStringList log;
    void volumeUp() override { log << QStringLiteral("volumeUp"); }
    void volumeDown() override { log << QStringLiteral("volumeDown"); }
    void toggleMute() override { log << QStringLiteral("toggleMute"); }
    void toggleDarkMode() override { log << QStringLiteral("toggleDarkMode"); }
    void lockScreen() override { log << QStringLiteral("lockScreen"); }
    void sleep() override { log << QStringLiteral("sleep"); }
};

class FakeClipboard final : public Clipboard {
public:
    QStringList copied;
    void setText(const QString& text) override { copied << text; }
};

// Answers every alert with `answer` and keeps what it was shown.
class FakeAlertPresenter final : public AlertPresenter {
public:
    int answer = 1;
    std::vector<Alert> shown;
    [[nodiscard]] int present(const Alert& alert) override
    {
        shown.push_back(alert);
        return answer;
    }
};
