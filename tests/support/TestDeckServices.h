#pragma once

#include "FakeDevices.h"
#include "services/DeckServices.h"

#include <QHash>
#include <memory>

// A composition root on a temporary home whose platform services, scene queue and music bridge are fakes.
// Scenes run on the test's thread and background jobs are waited for, so the root may be destroyed whenever
// the test ends. The desktop's
// applications (identifier → path) are its favourites too, in the order of their identifiers, and make the
// starter deck of a first launch.
class TestDeckServices final {
public:
    explicit TestDeckServices(const AppPaths& paths, const QHash<QString, QString>& applications = {});
    // Waits for the background jobs first: a form may still be listing the fake devices.
    ~TestDeckServices();
    TestDeckServices(const TestDeckServices&) = delete;
    TestDeckServices& operator=(const TestDeckServices&) = delete;

    [[nodiscard]] DeckServices& root() { return *m_root; }
    [[nodiscard]] FakeClipboard& clipboard() { return *m_clipboard; }
    // How often the root connected to the desktop's windows.
    [[nodiscard]] int windowsMade() const { return m_windowsMade; }

private:
    FakeClipboard* m_clipboard = nullptr;
    int m_windowsMade = 0;
    std::unique_ptr<DeckServices> m_root;
};
