#include "launchers/jotwell/jotwell_options.h"

#include "common/text_util.h"
#include "launchers/jotwell/code_runners.h"
#include "launchers/jotwell/jotwell_paths.h"

namespace {

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

JotwellOption OptionOfLetter(char letter) {
  switch (letter) {
    case 's':
    case 'S':
      return JotwellOption::Text;
    case 'o':
    case 'O':
      return JotwellOption::TextFile;
    case 'e':
    case 'E':
      return JotwellOption::Editor;
    default:
      return JotwellOption::Unknown;
  }
}

std::vector<JotwellOptionPlace> LocateOptions(std::string_view argumentText) {
  std::vector<JotwellOptionPlace> options;
  if (argumentText.empty() || argumentText.front() != '/') return options;
  // A blank or slash is never the trail byte of a double-byte character, so
  // a byte search finds only real separators.
  std::size_t slash = 0;
  for (;;) {
    const auto separator = argumentText.find(" /", slash + 1);
    if (separator == std::string_view::npos) {
      options.push_back({slash, argumentText.size()});
      return options;
    }
    options.push_back({slash, separator});
    slash = separator + 1;
  }
}

JotwellOptions ParseOptions(std::string_view argumentText,
                            const std::function<PathKind(const std::string&)>& pathKind,
                            const std::function<std::string(const std::string&)>& longPathOf) {
  JotwellOptions options;
  int fileOptions = 0, editorOptions = 0;
  bool refusedEditor = false;
  for (const JotwellOptionPlace& place : LocateOptions(argumentText)) {
    if (!place.HasLetter()) continue;
    const std::string_view value = argumentText.substr(place.Value(), place.end - place.Value());
    switch (OptionOfLetter(argumentText[place.Letter()])) {
      case JotwellOption::Text:
        options.text = std::string(value);
        break;
      case JotwellOption::TextFile:
        options.filePath = std::string(TrimEnd(value, " "));
        ++fileOptions;
        break;
      case JotwellOption::Editor:
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
      case JotwellOption::Unknown:
        break;
    }
  }
  options.usable = !options.text.empty() && !options.filePath.empty() && fileOptions <= 1 &&
                   editorOptions <= 1 && !refusedEditor;
  return options;
}
