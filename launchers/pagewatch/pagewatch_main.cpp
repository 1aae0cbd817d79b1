// Pagewatch: writes an Internet shortcut for a page, named after its title,
// and hands it to WWWC.
#include <windows.h>

#include "common/atomic_file.h"
#include "common/module_path.h"
#include "common/path_kind.h"
#include "common/text_util.h"
#include "launchers/common/launcher.h"
#include "launchers/common/launcher_text.h"
#include "launchers/pagewatch/input_dialog.h"
#include "launchers/pagewatch/pagewatch_rules.h"
#include "launchers/pagewatch/product.h"

extern const char kProductName[] = LAUNCHER_PRODUCT_NAME;

namespace {

constexpr char kWwwcPathKey[] = "WwwcPath";
constexpr char kLastShortcutKey[] = "LastCreateShortcutPath";

// Only a shortcut this program could have made is deleted: the settings file
// is plain text anybody can edit, and must not name any other file to go.
void RemovePreviousShortcut() {
  const std::string previous = ReadSetting(kLastShortcutKey);
  if (!previous.empty() && IsOwnShortcut(previous, GetProgramFolder())) DeleteQuietly(previous);
}

std::string AskWwwcPath() {
  for (;;) {
    const std::string entry = AskForText("WWWC．exe のパスを最初に一度だけ指定してください。");
    switch (CheckWwwcEntry(entry, GetPathKind)) {
      case WwwcEntry::Empty:
        EndLauncher();
      case WwwcEntry::Accepted:
        WriteSetting(kWwwcPathKey, entry);
        return entry;
      case WwwcEntry::NotWwwc:
        ShowLauncherMessage("WWWC．exe が指定されていません。\r\nもう一度入力してください。",
                            LauncherIcon::Warning);
        break;
      case WwwcEntry::Missing:
        ShowLauncherMessage("ファイルが見つかりません。\r\nもう一度入力してください。",
                            LauncherIcon::Warning);
        break;
    }
  }
}

// Writes the shortcut in the documented Internet-shortcut format, the format
// the scripting host's shortcut object saves on Windows. (Wine's
// scripting host saves a binary link under the .url name instead, which is
// no Internet shortcut.) A failed write leaves no half file behind.
bool CreateUrlShortcut(const std::string& url, const std::string& shortcutPath) {
  return WriteFileAtomically(shortcutPath, UrlShortcutContent(url));
}

bool RunWwwc(const std::string& wwwcPath, const std::string& shortcutPath) {
  return StartProgram(ProgramWithFileArgument(wwwcPath, "\"" + shortcutPath + "\""));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The previous shortcut goes first, even on a run that only shows usage.
  RemovePreviousShortcut();

  const auto arguments = SplitPagewatchArguments(GetArgumentText());
  if (!arguments) ShowUsage(kPagewatchUsageTail);

  std::string wwwcPath = ReadSetting(kWwwcPathKey);
  if (wwwcPath.empty()) wwwcPath = AskWwwcPath();

  const std::string shortcutPath = ShortcutPathFor(GetProgramFolder(), arguments->title);
  if (!CreateUrlShortcut(arguments->url, shortcutPath)) {
    ShowLauncherMessage("ＷＳＨを使用できる環境ではないかもしれません。", LauncherIcon::Error);
    EndLauncher();
  }
  if (!RunWwwc(wwwcPath, shortcutPath)) {
    ShowLauncherMessage("ＷＷＣの起動に失敗しました。", LauncherIcon::Error);
  }
  WriteSetting(kLastShortcutKey, shortcutPath);
  EndLauncher();
}
