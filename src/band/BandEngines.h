#pragma once

#include "band/BandFace.h"
#include "band/BandModuleKind.h"
#include "band/BandServices.h"
#include "band/BandSources.h"
#include "model/BandModule.h"

#include <QList>
#include <QObject>
#include <array>
#include <memory>

// The band's modules, one of each kind, and what each shows and does. The band tells it which modules are on
// screen (`show`), and only what those modules need runs; with the band gone (`hide`) nothing samples and the
// machine is no longer kept awake. The focus timer keeps counting either way.
//
// Main thread only. `changed` fires when a module's face may have changed; `customizeRequested` when a click
// asks for the customise window; `focusSetupRequested` when a click on Do Not Disturb finds it cannot switch
// yet.
class BandEngines final : public QObject {
    Q_OBJECT
public:
    using Services = BandServices;

    explicit BandEngines(Services services, QObject* parent = nullptr);

    // The modules on screen now; called again whenever they change.
    void show(const QList<BandModule>& visible);
    // The band is no longer on screen.
    void hide();
    // Until released, only the clock follows the modules on screen; what reads the system, the sound server,
    // the bus or the network waits, and its module shows its waiting face. The deck holds them until its
    // first paint, which then waits for none of them.
    void holdReaders();
    void releaseReaders();

    [[nodiscard]] BandFace face(BandModule module) { return kind(module).face(); }
    // What the pointer over the module reads.
    [[nodiscard]] QString tooltip(BandModule module) const { return kind(module).tooltip(); }
    // Whether a left click on the module does something now.
    [[nodiscard]] bool isClickable(BandModule module) const { return kind(module).isClickable(); }
    void activate(BandModule module) { kind(module).activate(); }
    // What the module's right-click menu offers above "Customize Band…".
    [[nodiscard]] QList<BandMenuItem> menu(BandModule module, const BandMenuHost& host)
    {
        return kind(module).menu(host);
    }

    // The engine behind a module, for the windows that set it up.
    template <class Engine>
    [[nodiscard]] Engine& engine(BandModule module)
    {
        return *qobject_cast<Engine*>(kind(module).engine());
    }
    [[nodiscard]] VitalsFastEngine& fast() { return m_sources.fast; }
    [[nodiscard]] VitalsSlowEngine& slow() { return m_sources.slow; }
    [[nodiscard]] BandClock& clock() { return m_sources.clock; }

Q_SIGNALS:
    void changed();
    void customizeRequested();
    void focusSetupRequested();

private:
    [[nodiscard]] BandModuleKind& kind(BandModule module) const;
    // Tells the modules that came on screen, then those that left it, so what both share runs on.
    void follow(const QList<BandModule>& visible, bool readers);

    Services m_services;
    BandSources m_sources;
    // After the sources, so the modules go before what they share.
    std::array<std::unique_ptr<BandModuleKind>, EnumTable<BandModule>::names.count()> m_kinds;
    // Which modules were last told they are on screen.
    std::array<bool, EnumTable<BandModule>::names.count()> m_shown{};
    // The modules on screen, for the readers' release.
    QList<BandModule> m_visible;
    bool m_readersHeld = false;
};
