// Fetchbay: downloads a URL's target (or takes a file URL's path) and starts
// an application on the file.
#include <windows.h>

#include "common/module_path.h"
#include "common/path_kind.h"
#include "launchers/common/launcher.h"
#include "launchers/common/launcher_text.h"
#include "launchers/fetchbay/download_win.h"
#include "launchers/fetchbay/fetchbay_rules.h"
#include "launchers/fetchbay/product.h"

extern const char kProductName[] = LAUNCHER_PRODUCT_NAME;

namespace {

constexpr char kDownloadDirKey[] = "DownloadDir";
constexpr char kNoDeleteKey[] = "NoDelete";
constexpr char kLastDownloadFileKey[] = "LastDownloadFile";

std::string PrepareDownloadFolder() {
  const DownloadFolderChoice choice =
      ChooseDownloadFolder(ReadSetting(kDownloadDirKey), GetProgramFolder(), GetPathKind);
  if (choice.writeSetting) WriteSetting(kDownloadDirKey, choice.folder);
  return choice.folder;
}

void RemovePreviousDownload(const std::string& folder) {
  if (ReadSettingNumber(kNoDeleteKey, 0) != 0) return;
  const auto previous = PreviousDownloadPath(folder, ReadSetting(kLastDownloadFileKey));
  if (previous) DeleteQuietly(*previous);
}

bool RunApplication(const std::string& applicationPath, const std::string& targetPath) {
  return StartProgram(ProgramWithFileArgument(applicationPath, "\"" + targetPath + "\""));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The previous run's download goes before the arguments are even looked
  // at, so a run that only shows the usage cleans up as well.
  const std::string folder = PrepareDownloadFolder();
  RemovePreviousDownload(folder);

  const auto arguments = SplitFetchbayArguments(GetArgumentText());
  if (!arguments || GetPathKind(arguments->applicationPath) != PathKind::File) ShowUsage(kFetchbayUsageTail);

  std::string targetPath;
  if (IsFileUrl(arguments->url)) {
    targetPath = FileUrlToPath(arguments->url);
  } else {
    // The name comes from the page. Beside the programs, where downloads go
    // unless told otherwise, it must not become a file they would load.
    const std::string fileName = FileNameFromUrl(arguments->url);
    const bool besidePrograms = IsSamePath(folder, GetProgramFolder());
    const auto saved = DownloadUnderFreeName(arguments->url, folder, fileName,
                                             besidePrograms && IsNameProgramsPickUp(fileName),
                                             ReadSetting(kLastDownloadFileKey));
    if (!saved) {
      ShowLauncherMessage("ファイルのダウンロードに失敗しました。", LauncherIcon::Error);
      EndLauncher();
    }
    WriteSetting(kLastDownloadFileKey, *saved);
    targetPath = folder + *saved;
  }
  if (!RunApplication(arguments->applicationPath, targetPath)) {
    ShowLauncherMessage("アプリケーションの起動に失敗しました。", LauncherIcon::Error);
  }
  EndLauncher();
}
