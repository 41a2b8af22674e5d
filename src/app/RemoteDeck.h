#pragma once

#include "commands/DeckChannel.h"
#include "commands/DeckRemote.h"

class DeckServices;
class DeckUi;

// The running deck as the companion reaches it through the channel: a second launch summons it, every other
// request runs the companion's commands against the deck's own store and settings, and `state` and `band`
// read what the deck shows. It asks the views through `DeckUi` and touches no widget itself.
//
// Main thread only.
class RemoteDeck final : public DeckRemote {
public:
    RemoteDeck(DeckServices& services, DeckUi& ui);

    [[nodiscard]] DeckChannel::Response handle(const DeckChannel::Request& request);

    [[nodiscard]] QJsonObject state() const override;
    [[nodiscard]] QJsonObject band() const override;
    void toggleSummon() override;
    bool fire(int index) override;
    void setEditing(bool editing) override;
    void openSettings(const QString& tab) override;

private:
    DeckServices& m_services;
    DeckUi& m_ui;
};
