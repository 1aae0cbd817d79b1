// A stand-in for the applications, editors and WWWC that item scripts, the
// edit dialog and the launchers start. It interprets nothing on its command
// line, so whatever the starter passes reaches the test unchanged, and
// appends one record per start to "<its own path>.log": the raw command line
// (GetCommandLineA), the working folder it was started in, the show state
// "<STARTF_USESHOWWINDOW set 0/1> <wShowWindow>", and the raw command line in
// UTF-16 (GetCommandLineW) as four hex digits per code unit, each ended by a
// NUL.
// A record is written with one call, so a reader never takes half of one
// for a whole; starts that overlap take turns at the log. When "<its own path>.hold" names an event, the
// recorder waits for it before recording: a test can so keep it running while it ends what started it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/win_handles.h"

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
  const UniqueFile hold(CreateFileA((self + ".hold").c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!hold) return;
  char name[MAX_PATH] = {};
  DWORD got = 0;
  ReadFile(hold.get(), name, sizeof name - 1, &got, nullptr);
  const UniqueHandle event(OpenEventA(SYNCHRONIZE, FALSE, name));
  if (event) WaitForSingleObject(event.get(), 30000);
}

// The turn at the log: a mutex named after the log file itself (its volume
// and file index), so that two recorders meet at it whatever path each was
// started by.
UniqueHandle LogTurn(const std::string& logPath) {
  const UniqueFile log(CreateFileA(logPath.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION identity = {};
  if (!log || !GetFileInformationByHandle(log.get(), &identity)) return UniqueHandle();
  char name[64];
  snprintf(name, sizeof name, "OrbiskRecorderLog-%08lX-%08lX%08lX", identity.dwVolumeSerialNumber,
           identity.nFileIndexHigh, identity.nFileIndexLow);
  return UniqueHandle(CreateMutexA(nullptr, FALSE, name));
}

// Appends the record to the log in one write, in its turn.
bool AppendRecord(const std::string& logPath, const std::string& record) {
  const UniqueHandle turn = LogTurn(logPath);
  if (!turn) return false;
  const DWORD waited = WaitForSingleObject(turn.get(), 30000);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return false;
  bool whole = false;
  {
    const UniqueFile log(CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    whole = log &&
            WriteFile(log.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
            written == record.size();
  }
  ReleaseMutex(turn.get());
  return whole;
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
  return AppendRecord(self + ".log", record) ? 0 : 1;
}
