#include "bridge/host/host_platform_win.h"

#include <windows.h>

#include "bridge/host/host_texts.h"
#include "bridge/host/utf.h"
#include "catalogue/settings_file.h"
#include "common/atomic_file.h"
#include "common/path_kind.h"
#include "common/win_handles.h"

namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// The item script's boxes: no owner (the browser's window is another
// process's), in front of the browser.
void ShowBox(const std::u16string& text, const std::u16string& title, UINT icon) {
  MessageBoxW(nullptr, Wide(text).c_str(), Wide(title).c_str(), MB_OK | icon | MB_SETFOREGROUND);
}

bool IsFolder(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::u16string AnsiToUtf16Text(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
  return std::u16string(wide.begin(), wide.end());
}

WinHostPlatform::WinHostPlatform(std::string settingsPath) : settingsPath_(std::move(settingsPath)) {}

std::vector<ItemRecord> WinHostPlatform::LoadItems() {
  LoadItemsFrom(settingsPath_);
  return Items;
}

std::string WinHostPlatform::SettingsFileBytes() {
  std::string bytes;
  if (GetPathKind(settingsPath_) != PathKind::File || !ReadWholeFile(settingsPath_, &bytes)) return {};
  return bytes;
}

std::u16string WinHostPlatform::AnsiToUtf16(std::string_view ansi) { return AnsiToUtf16Text(ansi); }

LocalTime WinHostPlatform::Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond};
}

LaunchResult WinHostPlatform::Launch(const LaunchPlan& plan) {
  if (plan.confirm) {
    ShowBox(plan.commandLine, plan.title, MB_ICONINFORMATION);
    return LaunchResult::Confirmed;
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(plan.showWindow);
  PROCESS_INFORMATION process = {};
  std::wstring commandLine = Wide(plan.commandLine);  // CreateProcessW may write into it
  // The application is named apart from the command line, so that nothing in
  // the arguments can make another program start. A folder that is not there
  // leaves the working folder as it is, as the script's failed assignment does.
  const std::wstring application = Wide(plan.application), folder = Wide(plan.folder);
  if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      IsFolder(plan.folder) ? folder.c_str() : nullptr, &startup, &process)) {
    ShowBox(Utf8ToUtf16(host_texts::StartFailed()), plan.title, MB_ICONERROR);
    return LaunchResult::Failed;
  }
  UniqueHandle processHandle(process.hProcess);
  UniqueHandle threadHandle(process.hThread);
  return LaunchResult::Started;
}
