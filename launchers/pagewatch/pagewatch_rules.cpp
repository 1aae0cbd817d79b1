#include "launchers/pagewatch/pagewatch_rules.h"

#include <algorithm>

#include "common/file_names.h"
#include "common/text_util.h"
#include "launchers/common/launcher_text.h"

std::optional<PagewatchArguments> SplitPagewatchArguments(std::string_view argumentText) {
  if (argumentText.substr(0, 4) != "http") return std::nullopt;
  const auto blank = argumentText.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  if (argumentText.find("://") == std::string_view::npos) return std::nullopt;
  PagewatchArguments arguments;
  arguments.url = std::string(argumentText.substr(0, blank));
  arguments.title = WidenForbiddenChars(argumentText.substr(blank + 1));
  if (arguments.title.empty()) arguments.title = "TitleNotFound";
  return arguments;
}

std::string ShortcutPathFor(const std::string& programFolder, const std::string& title) {
  constexpr std::string_view kExtension = ".url";
  // The platform's path limits count characters: a double-byte one once.
  const std::size_t folderChars = SjisCharCount(programFolder);
  std::size_t room = kMaxFileNameChars - kExtension.size();
  if (folderChars + kExtension.size() < kMaxPathChars) {
    room = std::min(room, kMaxPathChars - folderChars - kExtension.size());
  } else {
    room = 0;
  }
  std::string fitted = title;
  // A folder that leaves no room at all cannot be helped: the title stays
  // and the shortcut fails as the platform decides.
  if (room > 0 && SjisCharCount(title) > room) fitted = title.substr(0, SjisByteOffset(title, room));
  return programFolder + fitted + std::string(kExtension);
}

std::string UrlShortcutContent(std::string_view url) {
  std::string content = "[InternetShortcut]\r\nURL=";
  for (const char c : url) {
    if (c != '\t' && c != '\r' && c != '\n') content += c;
  }
  content += "\r\n";
  return content;
}

bool IsOwnShortcut(const std::string& path, const std::string& programFolder) {
  if (ToUpperSjis(GetFolderPart(path)) != ToUpperSjis(programFolder)) return false;
  const std::string name = GetFileNamePart(path);
  return IsBareFileName(name) && name.size() > 4 && EndsWithNoCase(name, ".url");
}

WwwcEntry CheckWwwcEntry(const std::string& entry,
                         const std::function<PathKind(const std::string&)>& pathKind) {
  if (entry.empty()) return WwwcEntry::Empty;
  if (pathKind(entry) != PathKind::File) return WwwcEntry::Missing;
  return EndsWithNoCase(entry, "WWWC.EXE") ? WwwcEntry::Accepted : WwwcEntry::NotWwwc;
}
