#include "launchers/jotwell/jotwell_paths.h"

#include <algorithm>

#include "common/file_names.h"
#include "common/text_util.h"
#include "launchers/common/launcher_text.h"
#include "launchers/jotwell/jotwell_options.h"

namespace {

// What the system's PATHEXT holds when nobody changed it. Explorer runs these
// on a double click (and the Startup folder at logon) whatever the variable
// of this process says, so they always count.
constexpr std::string_view kDefaultPathExt = ".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC";

// Further types the shell runs, installs, follows or opens as code: links
// and shortcuts, HTML applications, scripts of other hosts, registry and
// setup files, installers, control-panel items, libraries and drivers,
// screen savers, compiled help and click-once deployments.
constexpr std::string_view kShellCodeTypes[] = {
    ".LNK", ".URL", ".SCF",         ".HTA",       ".PS1",
    ".REG", ".INF", ".MSI",         ".MSC",       ".CPL",
    ".DLL", ".SYS", ".JSE",         ".VBE",       ".WSF",
    ".WSH", ".SCR", ".PIF",         ".CHM",       ".MSP",
    ".VB",  ".WS",  ".APPLICATION", ".APPREF-MS", ".SETTINGCONTENT-MS",
};

// Windows drops these from the end of a name.
constexpr std::string_view kDroppedAtEnd = ". ";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The components between separators, a backslash that is the trail byte of
// a double-byte character not counting as one.
std::vector<std::string_view> Components(std::string_view path) {
  std::vector<std::string_view> components;
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); i = NextSjisChar(path, i)) {
    if (IsSeparator(path[i])) {
      components.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  components.push_back(path.substr(start));
  return components;
}

}  // namespace

ResolvedName ResolveLastName(std::string_view path) {
  // "C:x.bat" is x.bat in drive C's current folder.
  if (StartsWithDrive(path)) path.remove_prefix(2);
  std::vector<std::string_view> kept;
  for (const std::string_view component : Components(path)) {
    if (component == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    // Empty (doubled or final separators), "." and whatever Windows trims
    // to nothing leave the name where it is.
    const std::string_view trimmed = TrimEnd(component, kDroppedAtEnd);
    if (!trimmed.empty()) kept.push_back(trimmed);
  }
  if (kept.empty()) return {};
  const std::string_view last = kept.back();
  // "file:stream:type"; a colon is never a trail byte.
  const auto colon = last.find(':');
  ResolvedName name;
  name.file = std::string(TrimEnd(last.substr(0, colon), kDroppedAtEnd));
  if (colon != std::string_view::npos) {
    const std::string_view stream = last.substr(colon + 1);
    name.stream = std::string(TrimEnd(stream.substr(0, stream.find(':')), kDroppedAtEnd));
  }
  return name;
}

std::vector<std::string> ExecutableExtensions(std::string_view pathext) {
  std::vector<std::string> extensions;
  const auto addList = [&extensions](std::string_view list) {
    std::string_view::size_type start = 0;
    for (;;) {
      const auto end = list.find(';', start);
      std::string entry = TrimBlanks(list.substr(start, end == std::string_view::npos ? end : end - start));
      if (!entry.empty() && entry.front() != '.') entry.insert(entry.begin(), '.');
      if (entry.size() > 1) extensions.push_back(ToUpperSjis(entry));
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
  };
  addList(pathext);
  addList(kDefaultPathExt);
  for (const std::string_view type : kShellCodeTypes) extensions.emplace_back(type);
  return extensions;
}

bool HasExtensionIn(std::string_view name, const std::vector<std::string>& extensions) {
  return std::any_of(extensions.begin(), extensions.end(),
                     [name](const std::string& extension) { return EndsWithNoCase(name, extension); });
}

bool IsSafeTextFilePath(std::string_view path, const std::vector<std::string>& executableExtensions) {
  // A quote cannot be part of a file name; the only pair allowed was
  // stripped before.
  if (path.find('"') != std::string_view::npos) return false;
  if (RootOf(path) == PathRoot::Device) return false;
  const ResolvedName name = ResolveLastName(path);
  // CON, NUL, COM1 and the like name a device, not a file, in every folder;
  // blanks before them do not hide them either.
  const auto first = name.file.find_first_not_of(' ');
  if (first != std::string::npos && IsReservedDeviceName(std::string_view(name.file).substr(first)))
    return false;
  return !HasExtensionIn(name.file, executableExtensions) &&
         !HasExtensionIn(name.stream, executableExtensions);
}

bool HasLocalProgramShape(std::string_view editorPath) {
  if (!ContainsNoCase(editorPath, ".EXE")) return false;
  const auto unquoted = StripEnclosingQuotes(editorPath);
  // Another quote would end the program's name early on the command line
  // and turn the rest into something else.
  if (!unquoted || unquoted->find('"') != std::string::npos) return false;
  if (RootOf(*unquoted) != PathRoot::Local) return false;
  // A batch file or a stream given a name with ".exe" in it would run too.
  const ResolvedName name = ResolveLastName(*unquoted);
  return name.stream.empty() && EndsWithNoCase(name.file, ".EXE");
}
