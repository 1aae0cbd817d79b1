// Jotwell's options: /s the text, /o the text file, /e [the editor].
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/path_kind.h"

inline constexpr const char kJotwellUsageTail[] =
    "　/s任意の文字列　/oテキストファイルのパス[　/e[テキストエディタのパス]]";

struct JotwellOptions {
  std::string text;        // option S, blanks kept
  std::string filePath;    // option O, trailing blanks removed
  bool open = false;       // option E given
  std::string editorPath;  // option E's path; "" opens with the associated program
  bool usable = false;     // see ParseOptions
};

// What an option letter stands for, in either case: s the text, o the text
// file, e the editor; Unknown for any other byte, whose option is ignored.
enum class JotwellOption { Unknown, Text, TextFile, Editor };
JotwellOption OptionOfLetter(char letter);

// Where an option sits in the argument text, in bytes: its slash at slash,
// its letter right after it and its value after the letter, up to end (the
// blank of the " /" that starts the next option, or the text's end). An
// option whose slash is followed at once by that blank, or ends the text, has
// neither letter nor value.
struct JotwellOptionPlace {
  std::size_t slash = 0;
  std::size_t end = 0;
  bool HasLetter() const { return end > slash + 1; }
  std::size_t Letter() const { return slash + 1; }
  std::size_t Value() const { return slash + 2; }  // when HasLetter
};

// Jotwell's grammar: the text starts with a slash and every " /" after it
// starts another option. None when the text does not start with a slash.
std::vector<JotwellOptionPlace> LocateOptions(std::string_view argumentText);

// Splits the argument text into options at the places LocateOptions finds
// (see kJotwellUsageTail). pathKind tells what a path names on disk; an
// editor path is kept only when it has the shape of a local program
// (HasLocalProgramShape) and then names a file (after its enclosing quotes
// are stripped). Any other editor path is emptied, so the file is opened with
// its associated program.
//
// The values are usable when the text and the file path are both present,
// option O and option E are each given at most once, and option E names no
// program that would run the text file as code (RunsFileAsCode), judged by
// the name as written and, for a file on the disk, by its long name, which
// longPathOf gives ("" when it cannot; may be empty to skip that check). A
// page can add options through the text, but it cannot then take back the
// ones the item gave.
JotwellOptions ParseOptions(std::string_view argumentText,
                            const std::function<PathKind(const std::string&)>& pathKind,
                            const std::function<std::string(const std::string&)>& longPathOf = {});
