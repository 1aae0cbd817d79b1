// A stand-in for the applications, editors and WWWC that item scripts, the
// edit dialog and the launchers start. It interprets nothing on its command
// line, so whatever the starter passes reaches the test unchanged, and
// appends one record per start to "<its own path>.log": the raw command line
// (GetCommandLineA), the working folder it was started in, the show state
// "<STARTF_USESHOWWINDOW set 0/1> <wShowWindow>", and the raw command line in
// UTF-16 (GetCommandLineW) as four hex digits per code unit, each ended by a
// NUL.
// A record is written with one call, so a reader never takes half of one
// for a whole. When "<its own path>.hold" names an event, the recorder waits
// for it before recording: a test can so keep it running while it ends what
// started it.
#include <windows.h>

#include <string>

namespace {

std::string OwnPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

std::string CurrentFolder() {
  std::string folder(GetCurrentDirectoryA(0, nullptr), '\0');
  folder.resize(GetCurrentDirectoryA(static_cast<DWORD>(folder.size()), folder.data()));
  return folder;
}

std::string ShowState() {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  return std::string((startup.dwFlags & STARTF_USESHOWWINDOW) ? "1 " : "0 ") +
         std::to_string(startup.wShowWindow);
}

// Hex keeps the UTF-16 text free of NUL bytes, and lone surrogates intact.
std::string HexOfWide(const wchar_t* text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (; *text; ++text) {
    const unsigned unit = static_cast<unsigned>(*text);
    for (int shift = 12; shift >= 0; shift -= 4) hex += kDigits[(unit >> shift) & 0xF];
  }
  return hex;
}

}  // namespace

// Waits for the event that "<self>.hold" names, if there is one.
void WaitForRelease(const std::string& self) {
  HANDLE hold = CreateFileA((self + ".hold").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hold == INVALID_HANDLE_VALUE) return;
  char name[MAX_PATH] = {};
  DWORD got = 0;
  ReadFile(hold, name, sizeof name - 1, &got, nullptr);
  CloseHandle(hold);
  HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, name);
  if (!event) return;
  WaitForSingleObject(event, 30000);
  CloseHandle(event);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string self = OwnPath();
  // Wine names a program started from a share "UNC\host\share\..." here,
  // without the leading backslashes of its UNC path.
  if (self.compare(0, 4, "UNC\\") == 0) self = "\\\\" + self.substr(4);
  WaitForRelease(self);

  std::string record = GetCommandLineA();
  record += '\0';
  record += CurrentFolder();
  record += '\0';
  record += ShowState();
  record += '\0';
  record += HexOfWide(GetCommandLineW());
  record += '\0';
  // Several starts may overlap: retry while another holds the log.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE log = CreateFileA((self + ".log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      const bool whole =
          WriteFile(log, record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
          written == record.size();
      CloseHandle(log);
      return whole ? 0 : 1;
    }
    Sleep(10);
  }
  return 1;
}
