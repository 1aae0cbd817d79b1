#include <windows.h>

#include "common/growing_buffer.h"
#include "common/module_path.h"
#include "common/text_util.h"
#include "common/win_handles.h"
#include "launchers/common/argument_text.h"
#include "launchers/common/launcher.h"
#include "launchers/common/launcher_text.h"

namespace {

UINT IconStyle(LauncherIcon icon) {
  switch (icon) {
    case LauncherIcon::Warning:
      return MB_ICONWARNING;
    case LauncherIcon::Error:
      return MB_ICONERROR;
    case LauncherIcon::Information:
      break;
  }
  return MB_ICONINFORMATION;
}

}  // namespace

std::string GetArgumentText() { return ArgumentTextOf(GetCommandLineA()); }

void ShowUsage(const std::string& usageTail) {
  ShowLauncherMessage(UsageText(GetProgramFileName(), usageTail), LauncherIcon::Information);
  EndLauncher();
}

void ShowLauncherMessage(const std::string& text, LauncherIcon icon) {
  // No owner window exists: the box must come to the front by itself.
  MessageBoxA(nullptr, text.c_str(), kProductName, MB_OK | MB_SETFOREGROUND | IconStyle(icon));
}

std::string LauncherSettingsPath() { return SettingsPathOf(GetProgramPath()); }

std::string ReadSetting(const char* key) {
  const std::string path = LauncherSettingsPath();
  // The platform cuts a value to the buffer without saying so; the buffer
  // grows until the whole value fits.
  return TrimAtNul(GrowingBufferCall<char>(
      CutReport::FilledLessNulOrHalfChar,
      [&](char* buffer, std::size_t capacity) {
        return GetPrivateProfileStringA(kProductName, key, "", buffer, static_cast<DWORD>(capacity),
                                        path.c_str());
      },
      512));
}

int ReadSettingNumber(const char* key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntA(kProductName, key, fallback, LauncherSettingsPath().c_str()));
}

void WriteSetting(const char* key, const std::string& value) {
  WritePrivateProfileStringA(kProductName, key, value.c_str(), LauncherSettingsPath().c_str());
}

void DeleteQuietly(const std::string& path) {
  // No "insert a disk" box for a path on an empty drive either.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  DeleteFileA(path.c_str());
  SetErrorMode(previous);
}

void EndLauncher() { ExitProcess(0); }
