// A stand-in for the editors, applications and WWWC the launchers start: it
// appends its raw command line and its working folder to "<its path>.log",
// each ended by a NUL, and ends.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string self(MAX_PATH * 4, '\0');
  self.resize(GetModuleFileNameA(nullptr, self.data(), static_cast<DWORD>(self.size())));
  // Wine names a program started from a share "UNC\host\share\..." here,
  // without the leading backslashes of its UNC path.
  if (self.compare(0, 4, "UNC\\") == 0) self = "\\\\" + self.substr(4);
  std::string folder(GetCurrentDirectoryA(0, nullptr), '\0');
  folder.resize(GetCurrentDirectoryA(static_cast<DWORD>(folder.size()), folder.data()));

  std::string record = GetCommandLineA();
  record += '\0';
  record += folder;
  record += '\0';
  // Several starts may overlap: retry while another holds the log.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE log = CreateFileA((self + ".log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(log, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
      CloseHandle(log);
      return 0;
    }
    Sleep(10);
  }
  return 1;
}
