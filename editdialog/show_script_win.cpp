// btnOpenSource: the item's script file, as last written, in the editor the
// browser uses for page sources, or in Notepad.
#include "catalogue/program_paths.h"
#include "catalogue/registry.h"
#include "common/path_kind.h"
#include "common/start_program.h"
#include "common/text_util.h"
#include "editdialog/edit_form.h"
#include "editdialog/edit_rules.h"
#include "ui/message_box.h"
#include "ui/product.h"

namespace {

constexpr char kEditorKey[] = "Software\\Microsoft\\Internet Explorer\\View Source Editor\\Editor Name";
constexpr char kShowFailed[] = "スクリプトの表示に失敗しました。";

}  // namespace

void ShowScript() {
  if (frmEdit.EditedIndex < 0 || frmEdit.EditedIndex >= ItemCount()) return;
  std::string editor = ReadRegistryValue(RegHive::LocalMachine, kEditorKey, "", kRegSz, RegistryValue{}).text;
  if (editor.empty()) {
    editor = "Notepad.exe";
  } else {
    // A value with text after the closing quote stays whole (and then names
    // no file); a lone double quote names nothing.
    const std::optional<std::string> unquoted = StripEnclosingQuotes(editor);
    if (!unquoted) {
      ShowMessage(kShowFailed, kWarningOk, kProductName);
      return;
    }
    editor = *unquoted;
    if (GetPathKind(editor) != PathKind::File) {
      ShowMessage("アプリケーションがみつかりません。\r\n\r\n" + editor, kWarningOk, kProductName);
      return;
    }
  }
  const std::string script = ScriptFilePath(Items[frmEdit.EditedIndex].ItemName);
  if (!StartProgram(EditorCommandLine(editor, script))) ShowMessage(kShowFailed, kWarningOk, kProductName);
}
