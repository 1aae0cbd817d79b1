#include "editdialog/edit_rules.h"

#include "common/text_util.h"

TokenInsertion InsertTokenAt(std::string_view text, int caret, std::string_view token) {
  const std::size_t at = SjisByteOffset(text, caret < 0 ? 0 : static_cast<std::size_t>(caret));
  TokenInsertion result;
  result.text.reserve(text.size() + token.size());
  result.text.append(text.substr(0, at)).append(token).append(text.substr(at));
  result.caret = static_cast<int>(SjisCharCount(text.substr(0, at)) + SjisCharCount(token));
  return result;
}

std::string InitialBrowseFolder(std::string_view pathField,
                                const std::function<PathKind(const std::string&)>& pathKind) {
  const std::string path = TrimBlanks(pathField);
  if (path.empty()) return {};
  if (FindLastSjisChar(path, '\\') == std::string_view::npos) return {};
  const std::string fileName = GetFileNamePart(path);
  const std::string folder = path.substr(0, path.size() - fileName.size());
  if (folder.empty() || pathKind(folder) != PathKind::Folder) return {};
  return folder;
}

std::string NameFromProgramPath(std::string_view path) { return WithoutExtension(GetFileNamePart(path)); }

std::string EditorCommandLine(std::string_view editor, std::string_view script) {
  std::string line;
  line.append("\"").append(editor).append("\" \"").append(script).append("\"");
  return line;
}
