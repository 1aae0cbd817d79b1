#include "launchers/fetchbay/fetchbay_rules.h"

#include <algorithm>
#include <cstdio>

#include "common/file_names.h"
#include "common/text_util.h"
#include "launchers/common/path_roots.h"

namespace {

// A double quote or a control byte is never the trail byte of a Shift_JIS
// pair, so byte-wise looks for them are exact.
bool IsControlByte(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

bool HoldsControlByte(std::string_view text) { return std::any_of(text.begin(), text.end(), IsControlByte); }

}  // namespace

bool IsPlainPathText(std::string_view text) {
  return text.find('"') == std::string_view::npos && !HoldsControlByte(text);
}

std::string_view::size_type FindUrlEnd(std::string_view argumentText) { return argumentText.find(' '); }

std::optional<FetchbayArguments> SplitFetchbayArguments(std::string_view argumentText) {
  const auto blank = FindUrlEnd(argumentText);
  if (blank == std::string_view::npos) return std::nullopt;
  FetchbayArguments arguments;
  arguments.url = std::string(argumentText.substr(0, blank));
  arguments.applicationPath = std::string(argumentText.substr(blank + 1));
  if (arguments.url.find("://") == std::string::npos) return std::nullopt;
  // Text after the ".exe" would be started as part of the command line, and
  // a quote would end the program's name early: either lets the argument
  // text, which may come from the page, pick another program or its options.
  const auto exe = FindSjis(ToUpperSjis(arguments.applicationPath), ".EXE");
  if (exe == std::string::npos || exe + 4 != arguments.applicationPath.size()) return std::nullopt;
  if (!IsPlainPathText(arguments.applicationPath)) return std::nullopt;
  // The file URL's path becomes the quoted file argument. Only a path on a
  // drive of this machine is handed over: on a share, the application would
  // connect to a host the page chose and Windows might send it the user's
  // credentials.
  // A file URL in another spelling ("file:\\host\x#://") is no file URL
  // here, and would be fetched from the share by the download instead.
  if (HasFileScheme(arguments.url)) {
    if (!IsFileUrl(arguments.url)) return std::nullopt;
    const std::string path = FileUrlToPath(arguments.url);
    if (!IsPlainPathText(path) || !StartsWithDrive(path)) return std::nullopt;
  }
  return arguments;
}

bool HasFileScheme(std::string_view url) {
  // Blanks and control characters before a scheme are ignored by URL parsers.
  const auto start =
      std::find_if(url.begin(), url.end(), [](char c) { return !IsControlByte(c) && c != ' '; });
  url.remove_prefix(static_cast<std::size_t>(start - url.begin()));
  return ToLowerSjis(url.substr(0, url.find(':'))) == "file";
}

bool IsFileUrl(std::string_view url) { return ToLowerSjis(url.substr(0, 7)) == "file://"; }

std::string FileUrlToPath(std::string_view url) {
  std::string path = ReplaceAll(url, "file:///", "");
  path = ReplaceAll(path, "file://", "");
  path = ReplaceAll(path, "|", ":");
  path = ReplaceAll(path, "/", "\\");
  return ReplaceAll(path, "%20", " ");
}

std::string FileNameFromUrl(std::string_view url) {
  const auto slash = FindLastSjisChar(url, '/');
  const std::string_view last = slash == std::string_view::npos ? url : url.substr(slash + 1);
  if (HoldsControlByte(last)) return kNoFileName;
  const std::string widened = WidenForbiddenChars(last);
  // Windows drops dots and blanks at the end of a name.
  const std::string name(TrimEnd(widened, ". "));
  if (!IsBareFileName(name) || IsReservedDeviceName(name)) return kNoFileName;
  return name;
}

bool IsNameProgramsPickUp(std::string_view name) {
  if (FindLastSjisChar(name, '.') == std::string_view::npos) return false;
  const std::string extension = ToUpperSjis(GetExtensionPart(name));
  for (const char* picked : {"DLL", "INI", "HLP", "CNT", "GID", "MANIFEST", "LOCAL"}) {
    if (extension == picked) return true;
  }
  return false;
}

std::string NumberedName(std::string_view name, int n) {
  if (n <= 1) return std::string(name);
  const std::string number = " (" + std::to_string(n) + ")";
  const auto dot = FindLastSjisChar(name, '.');
  // A name that only starts with a dot has no extension to keep apart.
  if (dot == std::string_view::npos || dot == 0) return std::string(name) + number;
  return std::string(name.substr(0, dot)) + number + std::string(name.substr(dot));
}

std::optional<std::string> ClaimFreeName(const std::string& name, bool skipPlainName,
                                         const std::function<NameClaim(const std::string&)>& claim) {
  for (int n = skipPlainName ? 2 : 1; n <= kMaxNumberedName; ++n) {
    const std::string candidate = NumberedName(name, n);
    switch (claim(candidate)) {
      case NameClaim::Claimed:
        return candidate;
      case NameClaim::Failed:
        return std::nullopt;
      case NameClaim::Taken:
        break;
    }
  }
  return std::nullopt;
}

bool DownloadSucceeded(bool transferred, std::optional<unsigned> httpStatus) {
  return transferred && (!httpStatus || (*httpStatus >= 200 && *httpStatus <= 299));
}

DownloadFolderChoice ChooseDownloadFolder(const std::string& setting, const std::string& programFolder,
                                          const std::function<PathKind(const std::string&)>& pathKind) {
  if (!setting.empty()) {
    std::string folder = setting;
    // A trail byte 0x5C (as in 表) is no backslash.
    if (FindLastSjisChar(folder, '\\') + 1 != folder.size()) folder += '\\';
    if (pathKind(folder) == PathKind::Folder) return {folder, false};
  }
  return {programFolder, true};
}

bool IsSamePath(std::string_view a, std::string_view b) { return ToUpperSjis(a) == ToUpperSjis(b); }

std::optional<std::string> PreviousDownloadPath(const std::string& folder,
                                                const std::string& lastDownloadFile) {
  if (!IsBareFileName(lastDownloadFile)) return std::nullopt;
  return folder + lastDownloadFile;
}
