#include "launchers/fetchbay/fetchbay_rules.h"

#include "common/text_util.h"
#include "launchers/common/file_names.h"

std::optional<FetchbayArguments> SplitFetchbayArguments(std::string_view argumentText) {
  const auto blank = argumentText.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  FetchbayArguments arguments;
  arguments.url = std::string(argumentText.substr(0, blank));
  arguments.applicationPath = std::string(argumentText.substr(blank + 1));
  if (arguments.url.find("://") == std::string::npos) return std::nullopt;
  const auto exe = FindSjis(ToUpperSjis(arguments.applicationPath), ".EXE");
  if (exe == std::string::npos) return std::nullopt;
  arguments.pathToCheck = arguments.applicationPath.substr(0, exe + 4);
  return arguments;
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
  const std::string name = WidenForbiddenChars(slash == std::string_view::npos ? url : url.substr(slash + 1));
  return IsBareFileName(name) ? name : "NoFileName";
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

std::optional<std::string> PreviousDownloadPath(const std::string& folder,
                                                const std::string& lastDownloadFile) {
  if (!IsBareFileName(lastDownloadFile)) return std::nullopt;
  return folder + lastDownloadFile;
}
