#include "app/StatusMenu.h"

#include "app/Restart.h"
#include "ui/settings/MainMenu.h"
#include "ui/settings/ShortcutsWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct MenuState {
    bool summoned = false;
    bool editing = false;
    bool pinned = false;
    bool compact = false;
    QString saveProblem;
    std::vector<QString> calls;
    QString updates;
    QString website;
};

StatusMenu::Handlers handlersFor(MenuState& state)
{
    auto call = [&state](const char* name) {
        return [&state, name] { state.calls.push_back(QLatin1String(name)); };
    };
    return {
        .toggleSummon = call("summon"),
        .runTile = [&state](int index) { state.calls.push_back(QStringLiteral("tile %1").arg(index)); },
        .toggleEditMode = call("edit"),
        .togglePin = call("pin"),
        .toggleCompact = call("compact"),
        .openSettings = call("settings"),
        .openPage = [&state](const QUrl& page) { state.calls.push_back(page.toString()); },
        .updatesAddress = [&state] { return state.updates; },
        .websiteAddress = [&state] { return state.website; },
        .restart = call("restart"),
        .quit = call("quit"),
        .isSummoned = [&state] { return state.summoned; },
        .isEditing = [&state] { return state.editing; },
        .isPinned = [&state] { return state.pinned; },
        .isCompact = [&state] { return state.compact; },
        .saveProblem = [&state] { return state.saveProblem; },
    };
}

QAction* item(const QMenu& menu, const QString& title)
{
    for (QAction* action : menu.actions()) {
        if (action->text() == title)
            return action;
    }
    return nullptr;
}

} // namespace

TEST(StatusMenu, RunsTilesFromItsSubmenuAndRefreshesItsSummonItemWhenItOpens)
{
    MenuState state;
    StatusMenu status(handlersFor(state));
    const QMenu& menu = *status.menu();
    const QMenu* runTile = item(menu, QStringLiteral("Run Tile"))->menu();
    ASSERT_NE(runTile, nullptr);
    ASSERT_EQ(runTile->actions().size(), 9);
    EXPECT_EQ(runTile->actions()[2]->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_3));
    runTile->actions()[2]->trigger();

    state.summoned = true;
    state.saveProblem = QStringLiteral("Layout not saved: No space left on device");
    Q_EMIT status.menu()->aboutToShow();
    ASSERT_NE(item(menu, state.saveProblem), nullptr);
    EXPECT_TRUE(item(menu, state.saveProblem)->isVisible());
    EXPECT_FALSE(item(menu, state.saveProblem)->isEnabled());
    ASSERT_NE(item(menu, QStringLiteral("Send Deck Back")), nullptr);
    item(menu, QStringLiteral("Send Deck Back"))->trigger();
    item(menu, QStringLiteral("Settings…"))->trigger();
    EXPECT_EQ(state.calls, (std::vector<QString>{QStringLiteral("tile 2"), QStringLiteral("summon"),
                                                 QStringLiteral("settings")}));
}

TEST(StatusMenu, ItemsShownInTheDecksMenuAreRefreshedWhenThatMenuOpens)
{
    MenuState state;
    StatusMenu status(handlersFor(state));
    QMenu deckMenu;
    status.showIn(deckMenu);
    ASSERT_NE(item(deckMenu, QStringLiteral("Summon Deck")), nullptr);

    state = {true, false, true, true, QString(), {}, {}, {}};
    Q_EMIT deckMenu.aboutToShow();
    EXPECT_NE(item(deckMenu, QStringLiteral("Send Deck Back")), nullptr);
    EXPECT_TRUE(item(deckMenu, QStringLiteral("Pin Position"))->isChecked());
    EXPECT_TRUE(item(deckMenu, QStringLiteral("Compact Mode"))->isChecked());
    EXPECT_FALSE(item(deckMenu, QStringLiteral("Edit Layout"))->isChecked());
}

TEST(StatusMenu, OffersTheWebSiteAndUpdatesOnlyWhileTheirAddressesAreSet)
{
    MenuState state;
    StatusMenu status(handlersFor(state));
    const QMenu& menu = *status.menu();
    const auto shown = [&menu] {
        QStringList titles;
        for (const QAction* action : menu.actions()) {
            if (action->isVisible() && !action->isSeparator())
                titles << action->text();
        }
        return titles;
    };
    const auto pageItems = [&shown] {
        return shown().filter(QRegularExpression(QStringLiteral("^(Visit |Check for Updates)")));
    };
    for (const char* address : {"", "not an address", "ftp://files.example.org/", "https://"}) {
        state.website = state.updates = QString::fromUtf8(address);
        Q_EMIT status.menu()->aboutToShow();
        EXPECT_EQ(pageItems(), QStringList()) << address;
    }

    state.website = QStringLiteral(" https://deck.example.org/ ");
    state.updates = QStringLiteral("https://deck.example.org/releases");
    Q_EMIT status.menu()->aboutToShow();
    EXPECT_EQ(pageItems(),
              (QStringList{QStringLiteral("Check for Updates…"), QStringLiteral("Visit deck.example.org")}));
    item(menu, QStringLiteral("Visit deck.example.org"))->trigger();
    item(menu, QStringLiteral("Check for Updates…"))->trigger();
    EXPECT_EQ(state.calls, (std::vector<QString>{QStringLiteral("https://deck.example.org/"),
                                                 QStringLiteral("https://deck.example.org/releases")}));
}

TEST(Restart, QuotesThePathSoTheShellStartsExactlyThatProgram)
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("it's $HOME `deck` \"x\"; rm"));
    const QString mark = dir.filePath(QStringLiteral("ran"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(mark).toUtf8());
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QProcess shell;
    shell.start(QLatin1String(Restart::shell), Restart::shellArguments(program));
    ASSERT_TRUE(shell.waitForFinished(10000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(mark));
}

TEST(MainMenu, SendsEditingToTheFocusedFieldAndQuitsWithControlQ)
{
    bool quit = false;
    MainMenu mainMenu(nullptr, [&] { quit = true; });
    const QList<QMenu*> menus = mainMenu.menus();
    ASSERT_EQ(menus.size(), 3);

    QWidget window;
    auto* field = new QLineEdit(QStringLiteral("snippet"), &window);
    mainMenu.serve(&window);
    window.show();
    window.activateWindow();
    field->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field->selectedText(), QStringLiteral("snippet"));
    item(*menus[2], QStringLiteral("Delete"))->trigger();
    EXPECT_EQ(field->text(), QString());
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(quit);
}
