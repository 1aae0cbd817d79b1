// What every launcher program does the same way: its argument text, its
// messages, its settings file and starting programs. Each launcher defines
// kProductName, the name its version resource carries.
#pragma once

#include <string>

#include "common/start_program.h"

// Defined by each launcher program; the title of its message boxes and the
// section of its settings file, whatever name the program file is given.
extern const char kProductName[];

enum class LauncherIcon { Information, Warning, Error };

// The raw argument text of this process (see ArgumentTextOf).
std::string GetArgumentText();

// Shows the usage message with the launcher's usage tail and ends the process.
[[noreturn]] void ShowUsage(const std::string& usageTail);

// One modal box with an OK button, titled with the product name.
void ShowLauncherMessage(const std::string& text, LauncherIcon icon);

// The program's folder, the program file's name without extension, ".ini".
std::string LauncherSettingsPath();

// The key's value in the launcher's section, read whole and trimmed of
// blanks; "" when the key, the section or the file is missing.
std::string ReadSetting(const char* key);

// The key's value as a number (its leading digits), or fallback when absent.
int ReadSettingNumber(const char* key, int fallback);

// Writes the key into the launcher's section; a failure goes unreported.
void WriteSetting(const char* key, const std::string& value);

// Deletes the file; a missing file, a file in use or a bad path are ignored.
void DeleteQuietly(const std::string& path);

// Ends the process; every launcher path ends here after its last action.
[[noreturn]] void EndLauncher();
