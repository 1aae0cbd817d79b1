// The main window's texts, free of Win32.
#pragma once

#include <string>

// The hint box's text while the pointer is over no item: two lines, each
// indented by an ideographic space.
extern const char kListNotice[];

// "項目数：" and the count: part 0 of the status bar.
std::string ItemCountText(int itemCount);

// "v", the version, two blanks, the rights notice: part 2 of the status bar.
std::string VersionStatusText(const std::string& versionText, const std::string& rightsNotice);

// The two delete confirmations.
std::string DeleteConfirmText(const std::string& itemName);
extern const char kDeleteAllConfirmText[];

// Shown by a second start: the title and " は既に起動されています。".
std::string AlreadyRunningText(const std::string& title);

// Shown when the settings file could not be written, naming it.
std::string SaveFailedText(const std::string& settingsPath);
// Said when the settings file is there but could not be read, naming it.
std::string LoadFailedText(const std::string& settingsPath);

// The export's and the import's boxes.
std::string ExportedText(std::size_t itemCount, const std::string& path);
std::string ExportFailedText(const std::string& path);
std::string ImportUnreadableText(const std::string& path);
std::string ImportRefusedText(const std::string& path, const std::string& problem);
// The question when an imported item's name is listed already.
std::string ImportConflictText(const std::string& itemName);
// The box of "Orbisk.exe" started with arguments it does not know.
extern const char kUsageText[];
// An imported item whose name another program's menu entry has.
extern const char kMenuEntryOfAnotherText[];
