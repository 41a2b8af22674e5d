#pragma once

#include <QString>

class RunningDeck;

// What every desktop's window manager must do with the deck, checked on the real one: an ordinary window is
// opened and takes the focus, then the deck starts; it stays below that window on every workspace, out of the
// taskbar and pager, and `marquetto-deck summon` lifts it above without taking the focus. Screenshots of both
// go to the test artefacts as NAME-desktop.png and NAME-summoned.png. The display is the test's DISPLAY.
void expectDeckStackedAndSummoned(RunningDeck& deck, const QString& home, const QString& name);
