#include "bridge/host/host_platform_win.h"

#include <windows.h>

#include "bridge/host/host_texts.h"
#include "bridge/host/utf.h"
#include "catalogue/settings_file.h"
#include "common/atomic_file.h"
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

CatalogueSnapshot WinHostPlatform::ReadCatalogue() {
  CatalogueSnapshot snapshot;
  // The file is read once, sharing it in every way, so that Orbisk can
  // replace it at any moment; Orbisk's loader then reads a private copy,
  // so that the list and the version come from the same bytes.
  UniqueFile file(CreateFileA(settingsPath_.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    // No file (or folder) yet is an empty list, as Orbisk has it.
    const DWORD error = GetLastError();
    snapshot.read = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return snapshot;
  }
  snapshot.read = false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return snapshot;
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) return snapshot;
  bytes.resize(got);
  file.reset();

  char temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof temp, temp);
  if (length == 0 || length > MAX_PATH) return snapshot;
  // A new name every time: the profile functions cache files by name.
  const std::string copy = CreateTemporarySibling(std::string(temp) + "OrbiskHost.ini");
  if (copy.empty()) return snapshot;
  if (!WriteFileAtomically(copy, bytes)) {
    DeleteFileA(copy.c_str());
    return snapshot;
  }
  LoadItemsFrom(copy);
  DeleteFileA(copy.c_str());
  snapshot.items = Items;
  snapshot.settingsBytes = std::move(bytes);
  snapshot.read = true;
  return snapshot;
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
