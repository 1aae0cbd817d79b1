#include "launchers/jotwell/jotwell_options.h"

#include <vector>

#include "common/text_util.h"
#include "launchers/jotwell/jotwell_paths.h"

namespace {

// Pieces between the occurrences of " /". A blank or slash is never the
// trail byte of a double-byte character, so a byte search is safe here.
std::vector<std::string_view> SplitAtBlankSlash(std::string_view text) {
  std::vector<std::string_view> pieces;
  std::string_view::size_type start = 0;
  for (;;) {
    const auto separator = text.find(" /", start);
    if (separator == std::string_view::npos) break;
    pieces.push_back(text.substr(start, separator - start));
    start = separator + 2;
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

// The disk is asked only about paths of the right shape: even looking up a
// share's file makes the machine connect to that host.
bool IsUsableEditor(const std::string& path, const std::function<PathKind(const std::string&)>& pathKind) {
  if (!HasLocalProgramShape(path)) return false;
  const auto unquoted = StripEnclosingQuotes(path);
  return unquoted && pathKind(*unquoted) == PathKind::File;
}

}  // namespace

JotwellOptions ParseOptions(std::string_view argumentText,
                            const std::function<PathKind(const std::string&)>& pathKind) {
  JotwellOptions options;
  if (argumentText.empty() || argumentText.front() != '/') return options;
  for (const std::string_view piece : SplitAtBlankSlash(argumentText.substr(1))) {
    if (piece.empty()) continue;
    const std::string_view value = piece.substr(1);
    switch (piece.front()) {
      case 's':
      case 'S':
        options.text = std::string(value);
        break;
      case 'o':
      case 'O':
        options.filePath = std::string(TrimEnd(value, " "));
        break;
      case 'e':
      case 'E':
        options.open = true;
        options.editorPath = std::string(TrimEnd(value, " "));
        if (!IsUsableEditor(options.editorPath, pathKind)) options.editorPath.clear();
        break;
      default:
        break;
    }
  }
  options.usable = !options.text.empty() && !options.filePath.empty();
  return options;
}
