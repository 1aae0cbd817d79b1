// Jotwell: appends its text as a line to a text file, then may open the file.
#include <windows.h>

#include "launchers/common/launcher.h"
#include "launchers/jotwell/jotwell_options.h"
#include "launchers/jotwell/jotwell_win.h"
#include "launchers/jotwell/product.h"

extern const char kProductName[] = LAUNCHER_PRODUCT_NAME;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const JotwellOptions options = ParseOptions(GetArgumentText(), LocalPathKind, LocalLongPath);
  if (!options.usable) ShowUsage(kJotwellUsageTail);

  // The line is written before anything is opened, so it stays written
  // whatever the opening does.
  if (!AppendTextLine(options.filePath, options.text)) {
    ShowLauncherMessage("テキストファイルの作成に失敗しました。", LauncherIcon::Error);
    EndLauncher();
  }
  if (!options.open) EndLauncher();

  if (!options.editorPath.empty()) {
    if (!RunEditor(options.editorPath, options.filePath)) {
      ShowLauncherMessage("テキストエディタの起動に失敗しました。", LauncherIcon::Error);
    }
  } else if (!OpenWithAssociation(options.filePath)) {
    ShowLauncherMessage("テキストファイルのオープンに失敗しました。", LauncherIcon::Error);
  }
  EndLauncher();
}
