#include "ui/paint/SymbolCatalogue.h"

#include "support/QtPrinters.h"

#include <QThreadPool>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

TEST(SymbolCatalogueTest, FiltersOnceWhateverThreadsAskAndWarmUpsStart)
{
    std::atomic_int filterings = 0;
    SymbolCatalogue catalogue([&filterings] {
        ++filterings;
        return QStringList{QStringLiteral("gear"), QStringLiteral("plus")};
    });
    catalogue.warmUp();
    catalogue.warmUp();
    std::vector<QStringList> answers(4);
    {
        std::vector<std::jthread> askers;
        for (QStringList& answer : answers)
            askers.emplace_back([&catalogue, &answer] { answer = catalogue.names(); });
    }
    QThreadPool::globalInstance()->waitForDone();

    EXPECT_EQ(filterings, 1);
    for (const QStringList& answer : answers)
        EXPECT_EQ(answer, (QStringList{QStringLiteral("gear"), QStringLiteral("plus")}));
    catalogue.warmUp();
    EXPECT_EQ(catalogue.names().size(), 2);
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_EQ(filterings, 1);
}

} // namespace
