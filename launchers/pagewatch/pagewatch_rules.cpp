#include "launchers/pagewatch/pagewatch_rules.h"

#include <algorithm>

#include "common/text_util.h"
#include "launchers/common/file_names.h"
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

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) {
    i += IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
  }
  return count;
}

std::string ShortcutPathFor(const std::string& programFolder, const std::string& title) {
  constexpr std::string_view kExtension = ".url";
  const std::size_t folderChars = CharacterCount(programFolder);
  std::size_t room = kMaxFileNameChars - kExtension.size();
  if (folderChars + kExtension.size() < kMaxPathChars) {
    room = std::min(room, kMaxPathChars - folderChars - kExtension.size());
  } else {
    room = 0;
  }
  std::string fitted = title;
  // A folder that leaves no room at all cannot be helped: the title stays
  // and the shortcut fails as the platform decides.
  if (room > 0 && CharacterCount(title) > room) {
    std::size_t end = 0;
    for (std::size_t kept = 0; kept < room; ++kept) {
      end += IsSjisLeadByte(static_cast<unsigned char>(title[end])) && end + 1 < title.size() ? 2 : 1;
    }
    fitted = title.substr(0, end);
  }
  return programFolder + fitted + std::string(kExtension);
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
