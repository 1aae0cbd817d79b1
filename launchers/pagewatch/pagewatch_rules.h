// Pagewatch's rules for its arguments, its shortcut files and WWWC's path.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/path_kind.h"

inline constexpr const char kPagewatchUsageTail[] = "　ＵＲＬ　タイトル";

// The longest path the platform's file functions take (MAX_PATH without its
// NUL) and the longest single file name, both in characters.
inline constexpr std::size_t kMaxPathChars = 259;
inline constexpr std::size_t kMaxFileNameChars = 255;

struct PagewatchArguments {
  std::string url;    // up to the first blank
  std::string title;  // after it, widened; "TitleNotFound" when empty
};

// The URL and title, when the text begins with "http" (lower case), holds a
// blank and holds "://".
std::optional<PagewatchArguments> SplitPagewatchArguments(std::string_view argumentText);

// The shortcut's path: the program folder, the title and ".url". A title
// too long for the platform's path limits is cut at a character boundary so
// that the path fits.
std::string ShortcutPathFor(const std::string& programFolder, const std::string& title);

// The shortcut file's content: "[InternetShortcut]" and "URL=" with the URL,
// each line ending in CR LF. Tabs and line breaks are dropped from the URL,
// as browsers drop them, so that it cannot add lines of its own to the file.
std::string UrlShortcutContent(std::string_view url);

// True when path names a ".url" file directly in programFolder: only such a
// file, one this program made, may be deleted from the settings' say-so.
bool IsOwnShortcut(const std::string& path, const std::string& programFolder);

enum class WwwcEntry { Empty, Accepted, NotWwwc, Missing };

// What an entry of the input dialog amounts to: Empty ends the program;
// an existing file must end in "WWWC.EXE" (any case).
WwwcEntry CheckWwwcEntry(const std::string& entry,
                         const std::function<PathKind(const std::string&)>& pathKind);
