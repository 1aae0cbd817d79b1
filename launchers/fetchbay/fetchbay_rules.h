// Fetchbay's rules for its arguments, its download folder and file names.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/path_kind.h"

inline constexpr const char kFetchbayUsageTail[] = "　ＵＲＬ　アプリケーションのパス";

struct FetchbayArguments {
  std::string url;              // up to the first blank
  std::string applicationPath;  // after it, blanks included
  std::string pathToCheck;      // the application path up to its first ".exe"
};

// The URL and the application path, when the text has a blank, the URL holds
// "://" and the application path ".exe" in any case; the caller still checks
// that pathToCheck names a file.
std::optional<FetchbayArguments> SplitFetchbayArguments(std::string_view argumentText);

// True when the URL's first seven characters are "file://" in any case.
bool IsFileUrl(std::string_view url);

// A file URL as a local path: "file:///" and "file://" removed, "|" to ":",
// "/" to a backslash, "%20" to a blank; nothing else is decoded.
std::string FileUrlToPath(std::string_view url);

// The name a download is saved under: the URL's text after its last "/",
// with the characters file names may not hold widened, so that the name
// stays inside the download folder; "NoFileName" when that leaves "", "." or
// "..".
std::string FileNameFromUrl(std::string_view url);

struct DownloadFolderChoice {
  std::string folder;         // ends in a backslash
  bool writeSetting = false;  // DownloadDir is to be rewritten with folder
};

// The download folder from the DownloadDir setting: the setting (with a
// backslash added) when it names a folder, else the program folder, which is
// then written back.
DownloadFolderChoice ChooseDownloadFolder(const std::string& setting, const std::string& programFolder,
                                          const std::function<PathKind(const std::string&)>& pathKind);

// The previous download to delete: the folder and LastDownloadFile, but only
// when that is a bare file name; a value that could reach outside the folder
// is ignored.
std::optional<std::string> PreviousDownloadPath(const std::string& folder,
                                                const std::string& lastDownloadFile);
