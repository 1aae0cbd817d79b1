// Where Orbisk keeps its files: one folder per login name below the program.
#pragma once

#include <string>

// Program folder, "user\", login name, "\". Set once at start-up; holds the
// settings file and every script file.
extern std::string UserFolder;

// OS-free form of GetUserFolder.
std::string UserFolderFor(const std::string& programFolder, const std::string& loginName);

// The current login name, "" when it cannot be read.
std::string GetLoginName();

// The per-user folder of the running program.
std::string GetUserFolder();

// Makes sure every folder along the path exists. True on success.
bool EnsureFolder(std::string folder);

// UserFolder, the program file name, ".ini".
std::string SettingsFilePath();

// UserFolder, the item name trimmed of blanks, ".html".
std::string ScriptFilePath(const std::string& itemName);

// The help file beside the program when it exists, else its bare name.
std::string HelpFilePath();
