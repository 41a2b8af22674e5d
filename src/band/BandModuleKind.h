#pragma once

#include "band/BandFace.h"
#include "band/BandServices.h"
#include "band/BandSources.h"
#include "model/BandModule.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class AlertPresenter;
class QObject;

// One line of a module's right-click menu, without widgets: the band's view makes the menu of them. A line
// without text is a separator; one with a submenu opens it.
struct BandMenuItem {
    // A separator.
    BandMenuItem() = default;
    BandMenuItem(QString text, std::function<void()> run, std::optional<bool> checked = std::nullopt)
        : text(std::move(text))
        , run(std::move(run))
        , checked(checked)
    {
    }
    BandMenuItem(QString text, QList<BandMenuItem> submenu)
        : text(std::move(text))
        , submenu(std::move(submenu))
    {
    }

    QString text;
    std::function<void()> run;
    // Set for a line with a check mark, to whether it is checked.
    std::optional<bool> checked;
    QList<BandMenuItem> submenu;
};

// What a menu's lines may ask of the deck they were opened over.
struct BandMenuHost {
    AlertPresenter& alerts;
    // Asks the user for a line of text under `title`, led by `label`; empty when they cancel.
    std::function<QString(const QString& title, const QString& label)> askText;
    // Opens the customise window.
    std::function<void()> customize;
};

// What every module is made with.
struct BandModuleContext {
    const BandServices& services;
    BandSources& sources;
    // Outlives every module: the context of their connections and of their background work.
    QObject& owner;
    // The module's face may have changed.
    std::function<void()> changed;
    // A click asks for the customise window.
    std::function<void()> customize;
    // A click on Do Not Disturb finds it cannot switch yet.
    std::function<void()> focusSetup;
};

// One kind of module on the band: what it shows, what the pointer over it reads, what a click and its menu
// do, and what it runs while on screen. `BandEngines` makes one of each kind and tells each when it comes on
// screen and when it leaves.
class BandModuleKind {
public:
    explicit BandModuleKind(BandModule module)
        : m_module(module)
    {
    }
    virtual ~BandModuleKind() = default;
    BandModuleKind(const BandModuleKind&) = delete;
    BandModuleKind& operator=(const BandModuleKind&) = delete;

    [[nodiscard]] BandModule module() const { return m_module; }

    [[nodiscard]] virtual BandFace face() = 0;
    // What the pointer over the module reads.
    [[nodiscard]] virtual QString tooltip() const { return title(m_module); }
    // Whether a left click does something now.
    [[nodiscard]] virtual bool isClickable() const { return false; }
    virtual void activate() {}
    // The lines its menu offers above "Customize Band…".
    [[nodiscard]] virtual QList<BandMenuItem> menu(const BandMenuHost&) { return {}; }

    // Whether it reads the system, the sound server, the bus or the network, and so waits while the band's
    // readers are held; the clock's modules follow the screen at once.
    [[nodiscard]] virtual bool reads() const { return true; }
    // It came on screen, or left it.
    virtual void setShown(bool) {}
    // The engine behind it that windows outside the band set up, if any.
    [[nodiscard]] virtual QObject* engine() { return nullptr; }

private:
    BandModule m_module;
};
