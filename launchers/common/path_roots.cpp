#include "launchers/common/path_roots.h"

#include "common/text_util.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && ToUpperSjis(text.substr(0, prefix.size())) == ToUpperSjis(prefix);
}

}  // namespace

bool StartsWithDrive(std::string_view path) {
  return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

PathRoot RootOf(std::string_view path) {
  const auto first = path.find_first_not_of(" \t");
  if (first == std::string_view::npos) return PathRoot::Local;
  path.remove_prefix(first);
  // "\\?\", "\\.\" and the native "\??\" hand the rest to the object manager
  // unchanged: a drive there is still a local file, anything else is a share
  // or a device.
  const bool prefixed =
      path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[3]) &&
      ((IsSeparator(path[1]) && (path[2] == '?' || path[2] == '.')) || (path[1] == '?' && path[2] == '?'));
  if (prefixed) {
    const std::string_view rest = path.substr(4);
    if (StartsWithNoCase(rest, "UNC") && (rest.size() == 3 || IsSeparator(rest[3]))) return PathRoot::Network;
    if (StartsWithDrive(rest) && (rest.size() == 2 || IsSeparator(rest[2]))) return PathRoot::Local;
    return PathRoot::Device;
  }
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return PathRoot::Network;
  return PathRoot::Local;
}
