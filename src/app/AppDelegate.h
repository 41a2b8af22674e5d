#pragma once

#include "app/DeckUi.h"
#include "app/RemoteDeck.h"

#include <QObject>
#include <memory>

class DeckControlServer;
class DeckServices;
class FirstPaint;

// The deck program's start-up order: the deck on screen first, then, after its first paint, what it can do
// without (the band's readers, the tray and keys, the lights, the window tracking), then cloud sync and the
// icon clean-up; and the channel `marquetto-deck` talks through, which also answers a second launch.
//
// Main thread only.
class AppDelegate final : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(DeckServices& services, QObject* parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    // Offers to make the deck file the deck, as "Import Deck…" does once a file is chosen.
    void openDeckFile(const QString& path);

private:
    void startAfterFirstPaint();
    // The icon clean-up's timer handler, some seconds after launch: unless another deck may be using the
    // icon files, it removes the unused ones off the main thread.
    void cleanUpIcons();

    DeckServices& m_services;
    DeckUi m_ui;
    RemoteDeck m_remote;
    DeckControlServer* m_server = nullptr;
    std::unique_ptr<FirstPaint> m_afterFirstPaint;
};
