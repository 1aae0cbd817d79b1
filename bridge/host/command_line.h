// The command line a pick starts the item's program with. The template is
// the user's own syntax; what the page gave is data, whatever it holds. Each
// kind of program reads its line by its own rules, so each gets the page's
// text in a form those rules cannot misread, or the pick is refused:
//   - a program: its arguments as Windows programs split them; a page value
//     is escaped inside the template's quotes, or its whole argument quoted;
//   - a batch file or cmd.exe: cmd.exe reads the line, so page text that it
//     would expand or end a command at is refused, and a value holding its
//     separators or operators is put in quotes;
//   - the script hosts wscript and cscript: quoted as for a program, but
//     they know no escaped quote and take an argument that starts with a
//     slash for an option, so page text may hold no quote and start no
//     argument's slash or option name;
//   - Orbisk's launchers read the raw line with grammars of their own: the
//     page never forms a Jotwell option or path part, nor Fetchbay's
//     application.
// Where no page value needs anything, the line is the one the item's script
// builds: the quoted path, a blank and the substituted template.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "catalogue/substitution.h"

enum class ProgramKind { Program, Batch, ScriptHost, Jotwell, Fetchbay, Pagewatch, Clipsy };

// Jotwell, Fetchbay, Pagewatch and Clipsy: they read their line in code page
// 932, so the page's text must reach them in what that code page holds.
bool IsOrbiskLauncher(ProgramKind kind);

// The kind of program from its path and its version resource's product name
// and file description ("" when it has none): a batch file by its extension
// (as Windows takes the name, trailing dots and blanks dropped) and cmd.exe
// by its name count as Batch, wscript.exe and cscript.exe by their names as
// ScriptHost; Orbisk's launchers are known by their product
// names with the description "Orbisk Sample", whatever the file is called.
ProgramKind KindOfProgramFile(std::u16string_view path, std::u16string_view productName,
                              std::u16string_view fileDescription);

// Why a line was refused. Nothing is started then.
enum class LineRefusal {
  None,
  TooLong,          // longer than Windows takes
  NulInPageText,    // a NUL would cut the line short
  UnsafeForBatch,   // cmd.exe could take the page's text for a command
  PageFormsOption,  // the program would read the page's text as an option or another argument
  PageNamesPath,    // the page's text would choose a path or a program
};

// The longest command line Windows takes, its ending NUL included.
inline constexpr std::size_t kMaxCommandLine = 32767;

struct CommandLine {
  std::u16string text;
  LineRefusal refusal = LineRefusal::None;
};

// The line for application (the item's path, unquoted) of the given kind.
// Too long a line is refused before it is built, however long the values.
CommandLine BuildCommandLine(std::u16string_view application, ProgramKind kind, const ArgumentPieces& pieces);
