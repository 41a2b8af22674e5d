#include "AlertPresenter.h"

#include "core/Logging.h"

int LoggingAlertPresenter::present(const Alert& alert)
{
    qCWarning(lcPlatform).noquote() << "Marquetto:"
                                    << alert.message + QLatin1Char('\n') + alert.informativeText;
    return static_cast<int>(alert.buttons.size()) - 1;
}
