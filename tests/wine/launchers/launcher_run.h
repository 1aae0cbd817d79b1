// Running the real launcher programs as an item's script starts them: a copy
// of the program in the test's own folder, started with its quoted path, one
// blank and the argument text.
#pragma once

#include <windows.h>

#include <string>

#include "tests/harness/child_process.h"
#include "tests/harness/recorded_starts.h"

// The built program (Clipsy, Jotwell, Fetchbay, Pagewatch) as a Windows
// path.
std::string BuiltProgram(const std::string& name);

// Copies a built program into folder under fileName; returns its full path.
std::string CopyProgram(const std::string& name, const std::string& folder, const std::string& fileName);

// The command line a menu script uses: the quoted path, one blank, the text.
std::string MenuCommandLine(const std::string& programPath, const std::string& argumentText);

// Starts the command line and waits for the process and whatever it started
// to end (message boxes are answered by the harness meanwhile); returns the
// exit code or -1.
int RunCommandLine(const std::string& commandLine, const std::string& workingDir = std::string());

// Runs a launcher as a menu script would and waits for it.
int RunLauncher(const std::string& programPath, const std::string& argumentText,
                const std::string& workingDir = std::string());

// A value of an INI file as the profile functions read it, whole.
std::string IniValue(const std::string& path, const std::string& section, const std::string& key);
void SetIniValue(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value);

// The usage message a launcher file named fileName (without extension) shows.
std::string ExpectedUsage(const std::string& fileName, const std::string& usageTail);
