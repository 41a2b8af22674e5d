#pragma once

#include "commands/DeckCommands.h"

// What each command of the table does; `arguments` are those after the command's name.
namespace DeckCommandHandlers {

using DeckCommands::Context;

// Prints the deck as JSON: current page, grid size, and every page's tiles with their derived texts.
int print(Context& context, const QStringList& arguments);
// Replaces a slot with a tile in its JSON form, `-` reading it from the input; writes at once.
int set(Context& context, const QStringList& arguments);
int backups(Context& context, const QStringList& arguments);
int restore(Context& context, const QStringList& arguments);
// add, delete [PAGE], move FROM TO, go PAGE.
int page(Context& context, const QStringList& arguments);
// Runs the slot's action and returns once its effect has started, or a scene's last step has run. It waits
// for that on this thread, so only the companion runs it.
int run(Context& context, const QStringList& arguments);
int state(Context& context, const QStringList& arguments);
int summon(Context& context, const QStringList& arguments);
int fire(Context& context, const QStringList& arguments);
// on or off: turns the deck's edit mode on or off.
int edit(Context& context, const QStringList& arguments);
// [TAB]: opens the settings window, on that tab when one is named.
int settings(Context& context, const QStringList& arguments);
// Prints this machine's tile library as JSON: each preset's id, name, category, tile (in its layout form,
// without an id) and whether its programs are installed, naming the missing one.
int presets(Context& context, const QStringList& arguments);
// import PATH: brings the picture into the icons folder and prints the new file's name.
int icon(Context& context, const QStringList& arguments);
// set MODULE…: replaces the band's modules with those named, in that order; a name that is no module is bad
// usage, answered with the names that are.
int band(Context& context, const QStringList& arguments);
int help(Context& context, const QStringList& arguments);

} // namespace DeckCommandHandlers
