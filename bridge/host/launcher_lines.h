// Orbisk's launchers read the raw text after their path with grammars of
// their own. The page may fill their values, but never form Jotwell's
// options or path parts, nor Fetchbay's application; where those are is
// found by the launchers' own parsers.
#pragma once

#include "bridge/host/command_line.h"
#include "bridge/host/marked_text.h"

// The refusal for the argument text (the template with the page's values
// in, as the launcher will read it) of a launcher of the given kind; None
// for Pagewatch and Clipsy, whose own checks decide.
LineRefusal CheckLauncherLine(ProgramKind kind, const MarkedText& arguments);
