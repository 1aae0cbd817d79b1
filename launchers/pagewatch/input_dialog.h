// The input dialog in which the user names WWWC's program file: the product
// name as title, a prompt, one entry field, OK and キャンセル.
#pragma once

#include <string>

// Shows the dialog modally; returns the entry as typed, or "" when the user
// cancelled (or the dialog could not be shown).
std::string AskForText(const std::string& prompt);
