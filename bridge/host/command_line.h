// The command line a pick starts the item's program with. The template is
// the user's own syntax; what the page gave is data, whatever it holds. The
// line is read back, before anything starts, the way Windows and the
// program will read it, by rules written once from their documentation
// (windows_arguments.h, cmd_reading.h), never by what Wine happens to do:
//   - a program: the C runtimes' two readings of quotes in a row, and
//     CommandLineToArgvW's; and for a program that reads its line in the
//     system's ANSI code page, that line as Windows converts it, with best
//     fit (the yen sign becomes a backslash in code page 932). A page value
//     is escaped inside the template's quotes, or its whole argument quoted,
//     in a form on which all readings agree, or the pick is refused;
//   - a batch file: started through cmd.exe from the system folder, with a
//     pair of quotes of the host's own around the line for /c to take off;
//     page text that cmd.exe would expand or end a command at is refused, a
//     value holding its separators or operators is put in quotes, and the
//     lines of the batch file that use its arguments are read again with
//     them put in;
//   - cmd.exe itself: its switches and its /c quote rule first, then the
//     same;
//   - the script hosts wscript and cscript: they know no escaped quote and
//     take an argument that starts with a slash for an option, so page text
//     may hold no quote and start no argument's slash or option name, and it
//     gets no backslash escapes, which they would not undo;
//   - Orbisk's launchers read the raw line with grammars of their own: the
//     page never forms a Jotwell option or path part, nor Fetchbay's
//     application.
// For every kind but the launchers, a page value may not begin an argument
// with "-" or "/" (in any reading): the program would take it for an option,
// quotes or not. A value inside an argument the template starts
// ("--title=<TT>") is fine, and so is any value after a template argument
// that is exactly "--".
// Where no page value needs anything, the line is the one the item's script
// builds: the quoted path, a blank and the substituted template.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "bridge/host/cmd_reading.h"
#include "catalogue/substitution.h"

// Opener: explorer.exe and rundll32.exe, which open what their arguments
// name; Hta: mshta.exe, which runs its first argument; PowerShell:
// powershell.exe and pwsh.exe, which run their line as code unless it names
// a script with -File.
enum class ProgramKind {
  Program,
  Batch,
  Cmd,
  ScriptHost,
  Opener,
  Hta,
  PowerShell,
  Jotwell,
  Fetchbay,
  Pagewatch,
  Clipsy
};

// Jotwell, Fetchbay, Pagewatch and Clipsy: they read their line in code page
// 932, so the page's text must reach them in what that code page holds.
bool IsOrbiskLauncher(ProgramKind kind);

// The kind of program from its path and its version resource's product name
// and file description ("" when it has none): a batch file by its extension
// (as Windows takes the name, trailing dots and blanks dropped) counts as
// Batch, cmd.exe by its name as Cmd, wscript.exe and cscript.exe by their names as
// ScriptHost, the others above by their names; Orbisk's launchers are known by their product
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
  PageIsCode,       // the program would run the page's text as code
};

// What a program that a cmd.exe command names (as written: an extension may
// be left to cmd.exe) does with its arguments.
ArgumentUse ArgumentUseOfProgram(std::u16string_view name);

// The longest command line Windows takes, its ending NUL included.
inline constexpr std::size_t kMaxCommandLine = 32767;
// The longest line cmd.exe reads, at its prompt, after /c and in a batch
// file alike; beyond it cmd.exe runs nothing ("The input line is too long").
inline constexpr std::size_t kMaxCmdLine = 8191;

struct CommandLine {
  std::u16string application;  // what to start: the item's program, or cmd.exe for a batch file
  std::u16string text;
  LineRefusal refusal = LineRefusal::None;
};

// How a program that reads its line in an ANSI code page gets it: the line
// converted with best fit, as Windows converts it for GetCommandLineA and
// the C runtime's narrow argv, and the code page's lead bytes.
struct AnsiCodePage {
  std::function<std::string(std::u16string_view)> convert;  // empty: no such reading is checked
  std::function<bool(unsigned char)> isLeadByte;
};

// What the line's readings need to know of the system.
struct LineEnvironment {
  AnsiCodePage systemAnsi;       // the system's ANSI code page, which foreign programs read in
  std::u16string systemCmd;      // cmd.exe in the system folder, which starts batch files
  std::u16string batchFileText;  // a batch item's file, for the second reading of its arguments
};

// The line for application (the item's path, unquoted) of the given kind.
// Too long a line is refused before it is built, however long the values.
CommandLine BuildCommandLine(std::u16string_view application, ProgramKind kind, const ArgumentPieces& pieces,
                             const LineEnvironment& environment = {});
