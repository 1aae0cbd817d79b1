// Clipsy: puts its whole argument text on the clipboard as plain text.
#include <windows.h>

#include "launchers/clipsy/clipboard_win.h"
#include "launchers/clipsy/product.h"
#include "launchers/common/launcher.h"

extern const char kProductName[] = LAUNCHER_PRODUCT_NAME;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string text = GetArgumentText();
  if (text.empty()) {
    ShowLauncherMessage("パラメータが空です。", LauncherIcon::Warning);
    EndLauncher();
  }
  const ClipboardResult result = PutTextOnClipboard(text);
  if (!result.ok()) {
    // The one box not titled with the product name.
    MessageBoxA(nullptr, ErrorMessageText(result.error).c_str(), "エラー",
                MB_OK | MB_SETFOREGROUND | MB_ICONERROR);
  }
  EndLauncher();
}
