#pragma once

#include "band/BandModuleKind.h"

// What makes each kind of module. Each kind's class lives in a file of its own, `<Kind>Module.cpp`; the
// catalogue's table names its maker.
namespace BandModules {

std::unique_ptr<BandModuleKind> micMute(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> volumeDown(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> volumeUp(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> dateTime(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> keepAwake(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> darkMode(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> messages(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> nextMeeting(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> focus(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> cpuLoad(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> memory(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> network(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> battery(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> driveSpace(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> trash(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> wifi(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> localIP(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> uptime(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> dayProgress(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> publicIP(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> worldClock(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> countdown(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> pomodoro(const BandModuleContext& context);
std::unique_ptr<BandModuleKind> weather(const BandModuleContext& context);

} // namespace BandModules
