#include "editdialog/edit_rules.h"

#include "common/text_util.h"

int SjisCharCount(std::string_view text) {
  int count = 0;
  for (std::string_view::size_type i = 0; i < text.size(); ++i, ++count) {
    if (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
  }
  return count;
}

std::string::size_type SjisByteOffset(std::string_view text, int chars) {
  std::string::size_type i = 0;
  for (int n = 0; n < chars && i < text.size(); ++n) {
    i += IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
  }
  return i;
}

TokenInsertion InsertTokenAt(std::string_view text, int caret, std::string_view token) {
  const std::string::size_type at = SjisByteOffset(text, caret < 0 ? 0 : caret);
  TokenInsertion result;
  result.text.reserve(text.size() + token.size());
  result.text.append(text.substr(0, at)).append(token).append(text.substr(at));
  result.caret = SjisCharCount(text.substr(0, at)) + SjisCharCount(token);
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

std::string NameFromProgramPath(std::string_view path) {
  std::string name = GetFileNamePart(path);
  const std::string extension = GetExtensionPart(name);
  if (!extension.empty()) name.resize(name.size() - extension.size() - 1);
  return name;
}

bool UnquoteEditorPath(std::string_view editor, std::string* unquoted) {
  if (!editor.empty() && editor.front() == '"' && editor.back() == '"') {
    if (editor.size() < 2) return false;
    editor = editor.substr(1, editor.size() - 2);
  }
  unquoted->assign(editor);
  return true;
}

std::string EditorCommandLine(std::string_view editor, std::string_view script) {
  std::string line;
  line.append("\"").append(editor).append("\" \"").append(script).append("\"");
  return line;
}
