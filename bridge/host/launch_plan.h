// What picking a launcher item starts, worked out as its script would: the
// application, folder, window style and confirmation come from the item
// alone; the page facts only fill the template, as data.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "bridge/host/command_line.h"
#include "catalogue/item_record.h"
#include "catalogue/substitution.h"

struct LaunchPlan {
  std::u16string application;  // the program to start: the item's path without blanks around it, or cmd.exe
                               // for a batch file
  std::u16string commandLine;  // the quoted path, a blank, the arguments (see BuildCommandLine)
  std::u16string folder;       // the path's folder part, or the whole path when it has no backslash
  int showWindow = 1;          // 0 hidden, 1 normal, 2 minimised, 3 maximised: SW_HIDE … SW_SHOWMAXIMIZED
  bool confirm = false;        // show the command line instead of starting
  std::u16string title;        // the item name without blanks around it and without "&"
  LineRefusal refusal = LineRefusal::None;  // not None: nothing may be started or shown
};

// What the system tells the plan.
struct LaunchSystem {
  // Code page 932 text to UTF-16, as the system converts it.
  std::function<std::u16string(std::string_view)> ansiToUtf16;
  // Which kind of program the path names (see ProgramKind).
  std::function<ProgramKind(const std::u16string& application)> kindOf;
  // The text as a code page 932 program reads it when it is handed over
  // without best fit: every character the code page cannot hold is "?".
  std::function<std::u16string(std::u16string_view)> asCodePageHoldsIt;
  // The system's ANSI code page, in which a foreign program may read its line.
  AnsiCodePage systemAnsi;
  // cmd.exe in the system folder.
  std::function<std::u16string()> systemCmd;
  // A batch file's text ("" when it cannot be read).
  std::function<std::u16string(const std::u16string& path)> batchFileText;
};

// The command line is built in UTF-16, so that facts beyond code page 932
// reach a Unicode program whole; the template and the path come from the
// settings file in code page 932. Orbisk's launchers read code page 932: for
// them the page's characters beyond it become "?" before the line leaves the
// host, so that the system's best fit can never turn one into a backslash,
// a quote or a blank on the way.
LaunchPlan PlanLaunch(const ItemRecord& item, const PageFacts16& facts, const Clock& clock,
                      const LaunchSystem& system);
