// How cmd.exe reads a line, written once from its documented rules
// (cmd /?, and the way a batch file takes its arguments), so that the host
// can check a line before cmd.exe ever sees it. Wine's cmd.exe reads lines
// differently in exactly the places that matter here, so nothing in these
// rules is taken from watching it.
//
// Every function reads a MarkedText: the template's characters and the
// page's. cmd.exe gives no meaning to a page character only when it stands
// inside quotes that the template (or the host) opened.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/host/marked_text.h"

// The characters cmd.exe acts on outside quotes: its operators, and the
// separators of a batch file's arguments.
inline constexpr std::u16string_view kCmdOperators = u"&|<>()";
inline constexpr std::u16string_view kBatchSeparators = u" \t,;=";

// The text with A to Z as a to z: how cmd.exe matches its keywords and
// switches, and Windows a program's file name.
std::u16string LowerText(std::u16string_view text);

// Where cmd.exe's switches end in the text after its own name: at the
// first /c, /k or /r, after which the rest of the line is the command.
struct CmdSwitches {
  bool s = false;                                   // /s came before it
  std::size_t switchEnd = std::u16string::npos;     // just after the switch; npos: there is none
  std::size_t commandStart = std::u16string::npos;  // the command's first character, blanks skipped
  bool Found() const { return switchEnd != std::u16string::npos; }
};
CmdSwitches FindCmdCommand(std::u16string_view afterName);

// What cmd.exe runs for the text after its own name. Switches come first:
// /c, /k or /r ends them and the rest of the line is the command; /s among
// them changes how the command's quotes are read. Then, by cmd /?: the
// command keeps its quotes only when there is no /s, it holds exactly two
// quotes, with no special character (& < > ( ) @ ^ |) and at least one blank
// between them, and the text between them names an executable file.
// Otherwise a command that starts with a quote loses that quote and the
// last quote of the line.
struct CmdCommands {
  // Page text before the switch that ends the switches, or no such switch:
  // the page could then choose cmd.exe's switches or its command.
  bool pageInSwitches = false;
  // The command as cmd.exe reads it. Two when only whether a file exists
  // decides between the two readings: the host checks both.
  std::vector<MarkedText> commands;
};
CmdCommands ReadCmdCommand(const MarkedText& afterName);

// True when, in command (the text cmd.exe runs, after the quote rule), no
// page character is an operator, an escape, a quote, a line break, a
// percent sign or exclamation mark, or stands between two of the template's
// percent signs or exclamation marks, where it would name a variable; and,
// with separatorsToo, no page character outside quotes is a separator of a
// batch file's arguments.
bool CmdTakesPageAsText(const MarkedText& command, bool separatorsToo);

// A command's first word (the program or batch file) and the text after it,
// as cmd.exe finds them: the word ends at a separator outside quotes.
struct CmdWords {
  MarkedText name;
  MarkedText arguments;  // from the separator on: %* without its leading separators
};
CmdWords SplitCmdName(const MarkedText& command);

// A batch file's arguments %1 … %9 as cmd.exe makes them of the text after
// the file's name: separated by blanks, tabs, commas, semicolons and equals
// signs outside quotes, their quotes kept.
std::vector<MarkedText> SplitBatchArguments(const MarkedText& arguments);

// What a program does with the arguments after its name.
enum class ArgumentUse {
  Data,            // takes them as data
  Opens,           // opens what they name (explorer.exe): the page may only give web addresses,
                   // without the commas explorer.exe splits its line at
  Runs,            // runs them as code or starts what they name (cmd.exe, a batch file): the
                   // page may give none
  RunsFirst,       // runs what its first argument that is no "//" option names (mshta.exe, a
                   // script host); the arguments after it are data, unless it is an inline
                   // script (vbscript:, javascript:, about:), which takes them all
  RunsUnlessFile,  // runs them as code (PowerShell), unless -File (or a shorter form) names a
                   // script: the arguments after the script are data
};
using ArgumentUseOf = std::function<ArgumentUse(std::u16string_view name)>;

// What the page's arguments (their text, quotes off, and whether the page
// wrote any of each) would be to a program that uses its arguments so: data
// alone, the name of what it runs or opens, or code it runs. Only the
// template's arguments are read for the program's switches.
enum class PageArguments { Data, NameWhatRuns, AreCode };
PageArguments WhatPageArgumentsAre(ArgumentUse use, const std::vector<std::u16string>& arguments,
                                   const std::vector<bool>& fromPage);

// True when no page character chooses what command (the text cmd.exe runs,
// after the quote rule) starts: in each of its commands, between the
// template's & and |, the program's name is the template's; CALL's command
// is read the same way; START's target may be the page's only as a web
// address, which the shell hands to the user's browser; a program that runs
// its arguments (cmd.exe among them) gets no page text, one that opens them
// only web addresses; no page character names the file of a redirection.
// IF's commands (after its condition and each ELSE) are read the same way,
// and the page may not write its condition outside quotes; FOR and CALL to
// a label, which run their commands with what they are given put in, get
// no page text. useOf tells what a program (its name as written, quotes
// off) does with its arguments.
bool CmdRunsNoPageProgram(const MarkedText& command, const ArgumentUseOf& useOf);

// The second reading: every line of the batch file (its text, line breaks
// CR LF or LF) that uses %*, %1 … %9 or %~…1 … %~…9 is read again with the
// arguments put in, as cmd.exe does when it runs the line. True when no page
// character becomes an operator in any of them, nor chooses what they start
// (CmdRunsNoPageProgram). A file that shifts its arguments is read with every
// shift, so that %1 may be any of them. *choosesProgram (when given) tells
// that the page's text would choose what a line starts. lineIsData (when
// given) judges each line as read besides: what the program it starts makes
// of the arguments, which a %~1 that takes the host's quotes off may have
// split at the page's blanks.
using LineJudge = std::function<bool(const MarkedText& line)>;
bool BatchFileTakesPageAsText(std::u16string_view fileText, const MarkedText& arguments,
                              const ArgumentUseOf& useOf, bool* choosesProgram = nullptr,
                              const LineJudge& lineIsData = {});
