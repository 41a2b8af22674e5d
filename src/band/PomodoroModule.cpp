#include "band/BandModules.h"
#include "band/BandSymbols.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"
#include "band/PomodoroEngine.h"

namespace {

// The band's own blue, which a counting focus timer glows in at 75 %.
constexpr quint32 runningTimerFill = 0xBF025BFF;

// The focus timer counts on whether or not its module is on screen.
class PomodoroModule final : public ContextModule {
public:
    explicit PomodoroModule(const BandModuleContext& context)
        : ContextModule(BandModule::pomodoro, context)
        , m_engine(context.services.alertSound)
    {
        QObject::connect(&m_engine, &PomodoroEngine::phaseChanged, &context.owner, context.changed);
        QObject::connect(&m_engine, &PomodoroEngine::remainingChanged, &context.owner, context.changed);
    }

    BandFace face() override
    {
        const bool running = m_engine.phase() == PomodoroEngine::Phase::running;
        BandFace face = ModuleFaces::readout({}, PomodoroEngine::remainingText(m_engine.remaining()));
        face.look = BandFace::Look::pomodoro;
        face.symbol = BandSymbols::pomodoro.of(running);
        face.on = running;
        if (running)
            face.fill = runningTimerFill;
        return face;
    }
    bool isClickable() const override { return true; }
    void activate() override { m_engine.toggle(); }
    QList<BandMenuItem> menu(const BandMenuHost&) override
    {
        QList<BandMenuItem> lengths;
        for (const int minutes : PomodoroEngine::lengths)
            lengths.append({QStringLiteral("%1 min").arg(minutes),
                            [this, minutes] { m_engine.setDuration(minutes); },
                            m_engine.duration() == minutes * 60});
        return {
            {QStringLiteral("Reset"), [this] { m_engine.reset(); }}, {QStringLiteral("Length"), lengths}, {}};
    }
    QObject* engine() override { return &m_engine; }

private:
    PomodoroEngine m_engine;
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::pomodoro(const BandModuleContext& context)
{
    return std::make_unique<PomodoroModule>(context);
}
