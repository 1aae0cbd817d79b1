// The main window's texts and its two list rules (which dropped file starts an
// Add, when a name needs its tooltip), free of Win32.
#pragma once

#include <string>
#include <string_view>

#include "common/path_kind.h"

inline constexpr char kProductName[] = "Orbisk";

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

// A dropped file starts an Add only when it is an existing file named *.exe
// (any letter case) that does not lie in a recycle bin.
bool IsAcceptableDrop(std::string_view path, PathKind kind);

// An item name gets a tooltip with its full text only when it does not fit:
// the list is narrower than the name's width with 3 % to spare, rounded.
bool NeedsFullNameTip(int listWidth, int nameWidth);
