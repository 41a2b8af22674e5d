#pragma once

#include "platform/TileStateSources.h"

#include <vector>

// Sources whose reads wait until the test answers them with `answerAll`, with the values it set; every read
// is counted by kind.
class FakeTileStateSources final : public TileStateSources {
public:
    QSet<QString> connected;
    Output output;
    bool dark = false;
    QSet<QString> running;

    Reports reported;

    QStringList followed;
    QList<QStringList> applicationReads;
    int bluetoothReads = 0;
    int outputReads = 0;
    int darkModeReads = 0;

    [[nodiscard]] Reports reports() const override { return reported; }
    void readConnectedBluetooth(std::function<void(QSet<QString>)> answer) override
    {
        ++bluetoothReads;
        m_pending.push_back([this, answer = std::move(answer)] { answer(connected); });
    }
    void readOutput(std::function<void(Output)> answer) override
    {
        ++outputReads;
        m_pending.push_back([this, answer = std::move(answer)] { answer(output); });
    }
    void readDarkMode(std::function<void(bool)> answer) override
    {
        ++darkModeReads;
        m_pending.push_back([this, answer = std::move(answer)] { answer(dark); });
    }
    void readRunningApplications(const QStringList& paths, std::function<void(QSet<QString>)> answer) override
    {
        applicationReads << paths;
        m_pending.push_back([this, paths, answer = std::move(answer)] {
            QSet<QString> answered;
            for (const QString& path : paths) {
                if (running.contains(path))
                    answered.insert(path);
            }
            answer(answered);
        });
    }
    void followApplications(const QStringList& paths) override { followed = paths; }

    // Answers every read made so far, in the order they were made, with the values as they are now.
    void answerAll()
    {
        std::vector<std::function<void()>> pending;
        pending.swap(m_pending);
        for (const auto& answer : pending)
            answer();
    }
    [[nodiscard]] std::size_t pendingReads() const { return m_pending.size(); }

private:
    std::vector<std::function<void()>> m_pending;
};
