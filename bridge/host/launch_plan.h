// What picking a launcher item starts, worked out as its script would: the
// application, folder, window style and confirmation come from the item
// alone; the page facts only fill the template.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "catalogue/item_record.h"
#include "catalogue/substitution.h"

struct LaunchPlan {
  std::u16string application;  // the item's path without blanks around it
  std::u16string commandLine;  // the quoted path, a blank, the substituted arguments
  std::u16string folder;       // the path's folder part, or the whole path when it has no backslash
  int showWindow = 1;          // 0 hidden, 1 normal, 2 minimised, 3 maximised: SW_HIDE … SW_SHOWMAXIMIZED
  bool confirm = false;        // show the command line instead of starting
  std::u16string title;        // the item name without blanks around it and without "&"
};

// Code page 932 text to UTF-16, as the system converts it.
using AnsiToUtf16 = std::function<std::u16string(std::string_view)>;

// The command line is built in UTF-16, so that facts beyond code page 932
// reach a Unicode program whole; the template and the path come from the
// settings file in code page 932. Substitution is the engine's, on UTF-16:
// for text that code page 932 holds, the result is the script's. Characters
// beyond it stay as they are, where the script would have had the system's
// stand-in for them (often "?", which a "2" token would make full-width).
LaunchPlan PlanLaunch(const ItemRecord& item, const PageFacts16& facts, const Clock& clock,
                      const AnsiToUtf16& ansiToUtf16);
