// The main window list's two rules, free of Win32: which dropped file starts
// an Add, and when a name needs its tooltip.
#pragma once

#include <string_view>

#include "common/path_kind.h"

// A dropped file starts an Add only when it is an existing file named *.exe
// (any letter case) that does not lie in a recycle bin.
bool IsAcceptableDrop(std::string_view path, PathKind kind);

// An item name gets a tooltip with its full text only when it does not fit:
// the list is narrower than the name's width with 3 % to spare, rounded.
bool NeedsFullNameTip(int listWidth, int nameWidth);
