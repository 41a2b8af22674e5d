#include "sync/CloudRule.h"

#include <cmath>

namespace {

CloudRule::Step decideOnDeck(const CloudRule::Pass& pass)
{
    using CloudRule::Step;
    if (pass.filePrint == pass.localPrint)
        return Step::record;
    if (!pass.localIsReal)
        return Step::apply;
    const bool cloudChanged = pass.filePrint != pass.storedFilePrint;
    const bool localChanged = pass.localPrint != pass.storedDeckPrint;
    if (!cloudChanged && !localChanged)
        return Step::settle;
    if (!cloudChanged)
        return Step::send;
    if (!localChanged)
        return Step::apply;
    // The file carries whole seconds only; comparing this machine's edit at the same grain makes two edits
    // within one second a tie, which the file wins on every machine alike instead of each keeping its own.
    return std::floor(pass.layoutEdit) > pass.exportedAt ? Step::send : Step::apply;
}

} // namespace

CloudRule::Step CloudRule::decide(const Pass& pass)
{
    switch (pass.reading) {
    case Reading::deck:
        return decideOnDeck(pass);
    case Reading::missing:
    case Reading::damaged:
        return pass.localIsReal ? Step::send : Step::report;
    case Reading::unavailable:
    case Reading::pending:
    case Reading::failed:
    case Reading::newer:
        break;
    }
    return Step::report;
}

CloudRule::SwitchOn CloudRule::switchOn(Reading reading, const QString& filePrint, const QString& localPrint)
{
    switch (reading) {
    case Reading::deck:
        return filePrint == localPrint ? SwitchOn::useShared : SwitchOn::ask;
    case Reading::missing:
    case Reading::damaged:
        return SwitchOn::keepLocal;
    case Reading::unavailable:
    case Reading::pending:
    case Reading::failed:
    case Reading::newer:
        break;
    }
    return SwitchOn::refuse;
}
