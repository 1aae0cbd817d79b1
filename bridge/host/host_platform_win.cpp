#include "bridge/host/host_platform_win.h"

#include <windows.h>
// winver.h needs windows.h first.
#include <winver.h>

#include <vector>

#include "bridge/host/host_texts.h"
#include "catalogue/item_sort.h"
#include "catalogue/menu_registration.h"
#include "catalogue/settings_file.h"
#include "catalogue/settings_format.h"
#include "common/atomic_file.h"
#include "common/growing_buffer.h"
#include "common/utf.h"
#include "common/wide_text.h"
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

WinHostPlatform::WinHostPlatform(std::string settingsPath) : settingsPath_(std::move(settingsPath)) {
  // The system's code page, not the host's own (932 by its manifest): the
  // one a foreign program reads its line in.
  const auto codePageOf = [](const wchar_t* locale) -> DWORD {
    DWORD codePage = 0;
    if (GetLocaleInfoEx(locale, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR)) <= 0) {
      return 0;
    }
    return codePage;
  };
  DWORD codePage = codePageOf(LOCALE_NAME_SYSTEM_DEFAULT);
  // Wine refuses LOCALE_NAME_SYSTEM_DEFAULT (ERROR_INVALID_PARAMETER) but
  // knows the system locale by its name; 932 without it would let a
  // Western system's best fit (a full-width quote into a quote) through.
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  if (codePage == 0 && GetSystemDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) > 0)
    codePage = codePageOf(name);
  systemAnsiCodePage_ = codePage != 0 ? codePage : 932;
}

CatalogueSnapshot WinHostPlatform::ReadCatalogue() {
  CatalogueSnapshot snapshot;
  // The file is read once, sharing it in every way, so that Orbisk can
  // replace it at any moment.
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

  // The list and the version come from the same bytes, read by Orbisk's
  // own reader of the format.
  snapshot.items = ReadCatalogueText(SettingsTextOf(bytes), IsMenuEntryRegistered, ItemNameLess);
  snapshot.settingsBytes = std::move(bytes);
  snapshot.read = true;
  return snapshot;
}

std::u16string WinHostPlatform::AnsiToUtf16(std::string_view ansi) {
  const std::wstring wide = ToWide(ansi);
  return std::u16string(wide.begin(), wide.end());
}

std::u16string WinHostPlatform::AsCodePageHoldsIt(std::u16string_view text) {
  // Without best fit: a character the code page lacks is "?", never a
  // look-alike such as a backslash for the yen sign.
  return AnsiToUtf16(ToAnsi(Wide(text), MissingChars::Question));
}

ProgramKind WinHostPlatform::KindOfProgram(const std::u16string& application) {
  const std::wstring path = Wide(application);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  std::vector<BYTE> block(size);
  std::u16string productName, description;
  struct Translation {
    WORD language, codePage;
  };
  Translation* translations = nullptr;
  UINT translationBytes = 0;
  if (size > 0 && GetFileVersionInfoW(path.c_str(), 0, size, block.data()) &&
      VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                     &translationBytes) &&
      translationBytes >= sizeof(Translation)) {
    // The first language the resource lists, as Explorer shows it.
    const auto value = [&](const wchar_t* name) {
      wchar_t query[64];
      wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\%s", translations[0].language, translations[0].codePage,
                name);
      wchar_t* text = nullptr;
      UINT length = 0;
      if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&text), &length) || !text)
        return std::u16string();
      return std::u16string(text, text + wcsnlen(text, length));
    };
    productName = value(L"ProductName");
    description = value(L"FileDescription");
  }
  return KindOfProgramFile(application, productName, description);
}

std::string WinHostPlatform::ToSystemAnsi(std::u16string_view text) {
  // With best fit, as Windows converts a program's line for GetCommandLineA.
  return ToAnsi(Wide(text), MissingChars::BestFit, systemAnsiCodePage_);
}

bool WinHostPlatform::IsSystemLeadByte(unsigned char byte) {
  return IsDBCSLeadByteEx(systemAnsiCodePage_, byte) != FALSE;
}

std::u16string WinHostPlatform::SystemCmd() {
  const std::wstring folder =
      GrowingBufferCall<wchar_t>(CutReport::NeededSize, [](wchar_t* buffer, std::size_t capacity) {
        return GetSystemDirectoryW(buffer, static_cast<UINT>(capacity));
      });
  // Without the system folder nothing is started: "\cmd.exe" alone would be
  // looked for on the current drive.
  if (folder.empty()) return {};
  const std::wstring cmd = folder + L"\\cmd.exe";
  return std::u16string(cmd.begin(), cmd.end());
}

std::u16string WinHostPlatform::BatchFileText(const std::u16string& path) {
  // The item's path came from code page 932, so it goes back whole.
  std::string bytes;
  if (!ReadWholeFile(ToAnsi(Wide(path)), &bytes)) return {};
  // cmd.exe reads a batch file in the console's code page, the OEM one.
  const std::wstring text = ToWide(bytes, CP_OEMCP);
  return std::u16string(text.begin(), text.end());
}

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
  UniqueProcessInformation process;
  std::wstring commandLine = Wide(plan.commandLine);  // CreateProcessW may write into it
  // The application is named apart from the command line, so that nothing in
  // the arguments can make another program start. A folder that is not there
  // leaves the working folder as it is, as the script's failed assignment does.
  const std::wstring application = Wide(plan.application), folder = Wide(plan.folder);
  const auto start = [&](DWORD flags) {
    return CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                          IsFolder(plan.folder) ? folder.c_str() : nullptr, &startup, process.put());
  };
  // A browser may run the host in a job that it ends with the host (Firefox
  // does): the program leaves the job so that it outlives the browser. A job
  // that lets nothing leave refuses the flag; then the program stays in it.
  BOOL started = start(CREATE_BREAKAWAY_FROM_JOB);
  if (!started && GetLastError() == ERROR_ACCESS_DENIED) started = start(0);
  if (!started) {
    ShowBox(Utf8ToUtf16(host_texts::StartFailed()), plan.title, MB_ICONERROR);
    return LaunchResult::Failed;
  }
  return LaunchResult::Started;
}
