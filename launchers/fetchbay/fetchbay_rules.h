// Fetchbay's rules for its arguments, its download folder and file names.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/path_kind.h"

inline constexpr const char kFetchbayUsageTail[] = "　ＵＲＬ　アプリケーションのパス";

// The name a download gets when its URL gives no usable one.
inline constexpr const char kNoFileName[] = "NoFileName";

// Where the URL ends: the offset of the argument text's first blank, after
// which the application path follows; npos when the text has no blank. A
// blank is never part of a double-byte character, so the bytes are searched
// as they are.
std::string_view::size_type FindUrlEnd(std::string_view argumentText);

struct FetchbayArguments {
  std::string url;              // up to FindUrlEnd
  std::string applicationPath;  // after it, ending in its only ".exe"
};

// The URL and the application path, split at FindUrlEnd, when the text has a
// blank, the URL holds "://", and the application path ends in ".exe" (any
// case) with nothing after its first ".exe" and holds no double quote or
// control character, so that it can only ever name one program and add no
// arguments of its own. A file URL is refused the same way when its path
// holds a double quote or a control character, or does not begin with a drive
// letter (StartsWithDrive): a URL that names a host, in whatever spelling,
// and one whose scheme the conversion leaves in place (it only knows
// "file://" in lower case) come out as a share, a device or a relative path.
// So is a URL of the file scheme that IsFileUrl does not take for one
// ("file:\\host\x"). The caller still checks that the application path names
// a file.
std::optional<FetchbayArguments> SplitFetchbayArguments(std::string_view argumentText);

// True when the text holds neither a double quote nor a control character
// (below 0x20, or 0x7F), so that it stays one argument between quotes.
bool IsPlainPathText(std::string_view text);

// True when the URL's scheme, the text before its first colon, is "file" in
// any case, blanks and control characters before it ignored.
bool HasFileScheme(std::string_view url);

// True when the URL's first seven characters are "file://" in any case.
bool IsFileUrl(std::string_view url);

// A file URL as a local path: "file:///" and "file://" removed, "|" to ":",
// "/" to a backslash, "%20" to a blank; nothing else is decoded.
std::string FileUrlToPath(std::string_view url);

// The name a download is saved under: the URL's text after its last "/",
// with the characters file names may not hold widened and trailing dots
// dropped (the file system drops them too), so that the name stays inside
// the download folder and is the name the file really gets. kNoFileName when
// that leaves nothing usable: "", "..", a control character, or a device
// name such as CON or COM1 (with any extension), which names no file.
std::string FileNameFromUrl(std::string_view url);

// True for a name that the programs beside Fetchbay would load or read just
// because it is there: a library, settings or help file, a manifest or a
// redirection marker (.dll, .ini, .hlp, .cnt, .gid, .manifest, .local). A
// download into the program folder never takes such a name as it is.
bool IsNameProgramsPickUp(std::string_view name);

// The nth choice of name for a download: the name itself for n = 1, else
// "stem (n).ext", the number going before the last extension ("a (2).zip",
// "NoFileName (3)", "archive.tar (2).gz", ".profile (2)").
std::string NumberedName(std::string_view name, int n);

// Tries the names NumberedName(name, 1), (2), … up to kMaxNumberedName in
// turn, skipping the first when skipPlainName is set, and returns the first
// one claim takes; nothing when claim fails outright or every name is taken.
enum class NameClaim { Claimed, Taken, Failed };
inline constexpr int kMaxNumberedName = 9999;
std::optional<std::string> ClaimFreeName(const std::string& name, bool skipPlainName,
                                         const std::function<NameClaim(const std::string&)>& claim);

// True when a download counts as done: the transfer succeeded and the last
// HTTP status seen, if any, is in 200-299 (an error page is no download).
bool DownloadSucceeded(bool transferred, std::optional<unsigned> httpStatus);

struct DownloadFolderChoice {
  std::string folder;         // ends in a backslash
  bool writeSetting = false;  // DownloadDir is to be rewritten with folder
};

// The download folder from the DownloadDir setting: the setting (with a
// backslash added) when it names a folder, else the program folder, which is
// then written back.
DownloadFolderChoice ChooseDownloadFolder(const std::string& setting, const std::string& programFolder,
                                          const std::function<PathKind(const std::string&)>& pathKind);

// True when the two paths or names are the same text, ASCII letters compared
// without case, as the file system compares them (folders both ending in a
// backslash).
bool IsSamePath(std::string_view a, std::string_view b);

// The previous download to delete: the folder and LastDownloadFile, but only
// when that is a bare file name; a value that could reach outside the folder
// is ignored.
std::optional<std::string> PreviousDownloadPath(const std::string& folder,
                                                const std::string& lastDownloadFile);
