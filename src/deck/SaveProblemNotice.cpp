#include "deck/SaveProblemNotice.h"

#include "core/MainThread.h"
#include "model/TileStore.h"

SaveProblemNotice::SaveProblemNotice(TileStore& store, AlertPresenter& alerts, QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_alerts(alerts)
{
    connect(&m_store, &TileStore::saveProblemChanged, this, &SaveProblemNotice::problemChanged);
    problemChanged(m_store.saveProblem());
}

QString SaveProblemNotice::statusLine() const
{
    const QString& problem = m_store.saveProblem();
    return problem.isEmpty() ? QString() : QStringLiteral("Layout not saved: ") + problem;
}

Alert SaveProblemNotice::alertFor(const QString& problem)
{
    return {QStringLiteral("Couldn't save your layout."),
            QStringLiteral("The layout file can't be written (%1). Your changes stay on the deck, and "
                           "Marquetto saves them as soon as the disk takes them again.")
                .arg(problem),
            {QStringLiteral("OK")}};
}

void SaveProblemNotice::problemChanged(const QString& problem)
{
    if (problem.isEmpty()) {
        m_told = false;
        return;
    }
    // A save that keeps failing, every retry, is told once.
    if (m_told)
        return;
    m_told = true;
    MainThread::later(this, [this, alert = alertFor(problem)] { (void)m_alerts.present(alert); });
}
