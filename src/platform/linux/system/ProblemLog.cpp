#include "platform/linux/system/ProblemLog.h"

#include "core/Logging.h"

void ProblemLog::report(const QString& problem)
{
    if (problem == m_last)
        return;
    m_last = problem;
    if (!problem.isEmpty())
        qCWarning(lcPlatform).noquote() << "Marquetto:" << m_what + u':' << problem;
}
