#include "TrashEmptying.h"

#include "core/BackgroundQueue.h"

namespace {

struct Survey {
    TrashCount count;
    bool skipped = false;
};

QString itemsText(qint64 count)
{
    return count == 1 ? QStringLiteral("1 item") : QString::number(count) + QStringLiteral(" items");
}

} // namespace

std::optional<Alert> TrashEmptying::alert(const TrashCount& count, bool skipped)
{
    const bool exact = !skipped && count.allListed;
    if (exact && count.items == 0)
        return std::nullopt;
    QString text;
    if (exact)
        text = itemsText(count.items) + QStringLiteral(" will be permanently deleted. You can't undo this.");
    else if (count.items == 0)
        text = QStringLiteral("Everything in the Trash will be permanently deleted. You can't undo this.");
    else
        text = itemsText(count.items) +
               QStringLiteral(", and anything in the Trash on your other drives, will be "
                              "permanently deleted. You can't undo this.");
    return Alert{
        QStringLiteral("Empty the Trash?"), text, {QStringLiteral("Empty Trash"), QStringLiteral("Cancel")}};
}

void TrashEmptying::start(QObject* context, Trash& trash, AlertPresenter& alerts)
{
    BackgroundQueue::runThenReport<Survey>(
        context,
        [&trash] {
            const Trash::Locations locations = trash.locations();
            return Survey{TrashCount::of(locations.folders), locations.skipped};
        },
        [&trash, &alerts](const Survey& survey) {
            const std::optional<Alert> question = alert(survey.count, survey.skipped);
            if (question && alerts.present(*question) == 0)
                trash.empty();
        });
}
