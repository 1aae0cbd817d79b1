// Jotwell's options: /s the text, /o the text file, /e [the editor].
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/path_kind.h"

inline constexpr const char kJotwellUsageTail[] =
    "　/s任意の文字列　/oテキストファイルのパス[　/e[テキストエディタのパス]]";

struct JotwellOptions {
  std::string text;        // option S, blanks kept
  std::string filePath;    // option O, trailing blanks removed
  bool open = false;       // option E given
  std::string editorPath;  // option E's path; "" opens with the associated program
  bool usable = false;     // text and file path both present
};

// Splits the argument text into options (see kJotwellUsageTail). pathKind
// tells what a path names on disk; an editor path is kept only when it has
// the shape of a local program (HasLocalProgramShape) and then names a file
// (after its enclosing quotes are stripped). Any other editor path is
// emptied, so the file is opened with its associated program.
JotwellOptions ParseOptions(std::string_view argumentText,
                            const std::function<PathKind(const std::string&)>& pathKind);
