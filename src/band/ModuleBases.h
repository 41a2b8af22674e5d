#pragma once

#include "band/BandModuleKind.h"

// A module that keeps what it was made with.
class ContextModule : public BandModuleKind {
protected:
    ContextModule(BandModule module, const BandModuleContext& context)
        : BandModuleKind(module)
        , m_context(context)
    {
    }

    [[nodiscard]] const BandServices& services() const { return m_context.services; }
    [[nodiscard]] BandSources& sources() const { return m_context.sources; }
    [[nodiscard]] const BandModuleContext& context() const { return m_context; }

private:
    BandModuleContext m_context;
};

// A module the band's clock ticks for while it is on screen, even while the readers are held.
class ClockModule : public ContextModule {
public:
    using ContextModule::ContextModule;

    [[nodiscard]] bool reads() const override { return false; }
    void setShown(bool shown) override
    {
        shown ? sources().clockUse.acquire() : sources().clockUse.release();
    }
};

// A module that shows what the vitals sampled every 2 seconds.
class FastVitalsModule : public ContextModule {
public:
    using ContextModule::ContextModule;

    void setShown(bool shown) override { shown ? sources().fastUse.acquire() : sources().fastUse.release(); }
};

// A module that shows what the vitals sampled every 15 seconds.
class SlowVitalsModule : public ContextModule {
public:
    using ContextModule::ContextModule;

    void setShown(bool shown) override { shown ? sources().slowUse.acquire() : sources().slowUse.release(); }
};
