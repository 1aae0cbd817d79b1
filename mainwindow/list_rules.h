// The main window's rules, free of Win32: which dropped file starts an Add
// or an import, when a name needs its tooltip, and what the program's
// arguments ask for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/path_kind.h"

// A dropped file starts an Add only when it is an existing file named *.exe
// (any letter case) that does not lie in a recycle bin.
bool IsAcceptableDrop(std::string_view path, PathKind kind);

// A dropped item file (*.ini, any letter case, not in a recycle bin) is
// imported.
bool IsItemFileDrop(std::string_view path, PathKind kind);

// What Orbisk is started for, from its arguments (the program's name left
// out): the window; "/export <file>"; "/import <file>", with "/quiet"
// anywhere for no windows and a report on standard output; or, for anything
// else, the usage, on standard output when "/quiet" was given, else in a
// box. Options take "/" or "-", any letter case; arguments that are no
// options (a file dropped on the program's icon) open the window as before.
struct StartAction {
  enum Kind { Window, Export, Import, Usage } kind = Window;
  std::string file;
  bool quiet = false;
};
StartAction ReadStartArguments(const std::vector<std::string>& arguments);

// An item name gets a tooltip with its full text only when it does not fit:
// the list is narrower than the name's width with 3 % to spare, rounded.
bool NeedsFullNameTip(int listWidth, int nameWidth);
