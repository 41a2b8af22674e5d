#pragma once

#include <QJsonObject>
#include <QStringView>
#include <array>

// What the running deck offers the companion's commands beyond its store: its window's state, its band, the
// summon and its tiles.
//
// Main thread only.
class DeckRemote {
public:
    // The settings window's tabs, in their order.
    static constexpr std::array<QStringView, 4> settingsTabs{u"General", u"Appearance", u"Layout",
                                                             u"Feedback"};

    virtual ~DeckRemote() = default;
    // {"currentPage", "isSummoned", "isCompact", "isExpanded", "isEditing", "frame": [x, y, w, h],
    // "settingsOpen", "settingsTab"}, the frame in screen coordinates with the origin at the top left.
    [[nodiscard]] virtual QJsonObject state() const = 0;
    // {"units": U, "modules": [{"module", "units", "text"}]}: the band's width in units and the modules it
    // shows, in order, each with its width and what it shows in one line; no modules while the band is off.
    [[nodiscard]] virtual QJsonObject band() const = 0;
    virtual void toggleSummon() = 0;
    // Runs the slot of the current page as its hot key does; false when the slot is empty.
    virtual bool fire(int index) = 0;
    // Turns edit mode on or off, as the deck menu does; leaving it cancels a drag in progress.
    virtual void setEditing(bool editing) = 0;
    // Opens the settings window in front, on `tab` (one of `settingsTabs`) unless it is empty.
    virtual void openSettings(const QString& tab) = 0;
};
