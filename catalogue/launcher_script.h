// The HTML file with a VBScript that the browser runs when a launcher item's
// menu entry is picked: it gathers the page facts that the argument template
// asks for, puts them in place of the placeholders and starts the application
// (or, with confirmation on, only shows the command line).
#pragma once

#include <string>

// The whole file: CR LF after every line, code page 932, no byte-order mark.
// The script declares, looks up and substitutes only what the template's
// placeholders need. Lines 2 and 3 carry VersionText and RightsNotice.
std::string LauncherScriptText(const std::string& itemName, const std::string& aplPath,
                               const std::string& argments, int windowStyle, bool confCmdLine);

// Writes LauncherScriptText to the item's ScriptFilePath. The old file is
// replaced only once the new one is complete: on any failure it stays as it
// was and false is returned.
bool WriteLauncherScript(const std::string& itemName, const std::string& aplPath, const std::string& argments,
                         int windowStyle, bool confCmdLine);
