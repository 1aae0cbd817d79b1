// The edit dialog's small rules that need no window: where a token goes into
// the parameter box, which folder the Open File dialog starts in, the name a
// chosen program gives a new item, and how the source editor is started.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/path_kind.h"

struct TokenInsertion {
  std::string text;
  int caret = 0;  // character position right after the token
};

// The text with token put in at character position caret (clamped to the
// text): whatever stood from there on, a selection included, follows it.
TokenInsertion InsertTokenAt(std::string_view text, int caret, std::string_view token);

// The folder the Open File dialog starts in for the typed path: its folder
// part, with the final backslash, when that is an existing folder; else "".
std::string InitialBrowseFolder(std::string_view pathField,
                                const std::function<PathKind(const std::string&)>& pathKind);

// The item name a chosen program gives: its file name without the last
// extension (archive.tar.gz gives archive.tar, runme stays runme).
std::string NameFromProgramPath(std::string_view path);

// "editor" "script": both quoted, one blank between.
std::string EditorCommandLine(std::string_view editor, std::string_view script);
