// The program's version as shown in the status bar and written into scripts.
#pragma once

#include <string>

// Set once at start-up from the program's version resource.
extern std::string VersionText;   // "1.05", "1.16.2"
extern std::string RightsNotice;  // the legal notice of the version resource, one line

// Major, ".", minor with at least two digits, and "." revision when above 0.
std::string FormatVersionText(int major, int minor, int revision);
