// What the main window hands the edit dialog when it opens it.
#pragma once

#include <cstdint>
#include <string>

enum class EditModes : int16_t { Add = 0, Edit = 1, Rename = 2 };

// Set by the main window just before the edit dialog opens. In Edit and
// Rename mode the dialog works on the item selected in the main window's list.
extern EditModes EditMode;

// Path of a program file dropped on the list, for the dialog's Add mode to
// fill in; "" except between an accepted drop and the close of the dialog it
// opened.
extern std::string DroppedPath;
