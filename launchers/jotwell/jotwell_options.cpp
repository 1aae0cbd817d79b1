#include "launchers/jotwell/jotwell_options.h"

#include <vector>

#include "common/text_util.h"
#include "launchers/jotwell/code_runners.h"
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

enum class EditorVerdict { Start, Drop, Refuse };

bool NamesCodeRunner(const std::string& path) { return RunsFileAsCode(ResolveLastName(path).file); }

// Whether the editor path is started, dropped (the file is then opened with
// its associated program) or refused. A program that runs the file is
// refused wherever it is, without looking it up. The disk is asked only
// about paths of the right shape: even looking up a share's file makes the
// machine connect to that host.
EditorVerdict JudgeEditor(const std::string& path,
                          const std::function<PathKind(const std::string&)>& pathKind,
                          const std::function<std::string(const std::string&)>& longPathOf) {
  const auto unquoted = StripEnclosingQuotes(path);
  if (NamesCodeRunner(unquoted ? *unquoted : path)) return EditorVerdict::Refuse;
  if (!HasLocalProgramShape(path) || !unquoted || pathKind(*unquoted) != PathKind::File) {
    return EditorVerdict::Drop;
  }
  // "POWERS~1.EXE" is powershell.exe by its short name.
  if (longPathOf && NamesCodeRunner(longPathOf(*unquoted))) return EditorVerdict::Refuse;
  return EditorVerdict::Start;
}

}  // namespace

JotwellOptions ParseOptions(std::string_view argumentText,
                            const std::function<PathKind(const std::string&)>& pathKind,
                            const std::function<std::string(const std::string&)>& longPathOf) {
  JotwellOptions options;
  int fileOptions = 0, editorOptions = 0;
  bool refusedEditor = false;
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
        ++fileOptions;
        break;
      case 'e':
      case 'E':
        options.open = true;
        options.editorPath = std::string(TrimEnd(value, " "));
        ++editorOptions;
        switch (JudgeEditor(options.editorPath, pathKind, longPathOf)) {
          case EditorVerdict::Start:
            break;
          case EditorVerdict::Drop:
            options.editorPath.clear();
            break;
          case EditorVerdict::Refuse:
            refusedEditor = true;
            break;
        }
        break;
      default:
        break;
    }
  }
  options.usable = !options.text.empty() && !options.filePath.empty() && fileOptions <= 1 &&
                   editorOptions <= 1 && !refusedEditor;
  return options;
}
