// A stand-in application for the script tests: records exactly what it was
// started with, beside its own file, then ends. Nothing on its command line is
// interpreted, so that whatever a script passes reaches the test unchanged.
//   <exe>.cmdline  the raw command line (GetCommandLineA)
//   <exe>.wcmdline the raw command line in UTF-16 (GetCommandLineW), as bytes
//   <exe>.cwd      the working directory it was started in
//   <exe>.show     "<STARTF_USESHOWWINDOW set 0/1> <wShowWindow>"
//   <exe>.done     written last, once the others are complete
#include <windows.h>

#include <string>

namespace {

bool WriteWhole(const std::string& path, const std::string& bytes) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size();
  CloseHandle(file);
  return ok;
}

std::string OwnPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

std::string CurrentDirectory() {
  const DWORD size = GetCurrentDirectoryA(0, nullptr);
  std::string folder(size, '\0');
  folder.resize(GetCurrentDirectoryA(size, folder.data()));
  return folder;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string self = OwnPath();
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const std::string show = std::string((startup.dwFlags & STARTF_USESHOWWINDOW) ? "1 " : "0 ") +
                           std::to_string(startup.wShowWindow);
  const std::wstring wide = GetCommandLineW();
  const bool ok = WriteWhole(self + ".cmdline", GetCommandLineA()) &&
                  WriteWhole(self + ".wcmdline", std::string(reinterpret_cast<const char*>(wide.data()),
                                                             wide.size() * sizeof(wchar_t))) &&
                  WriteWhole(self + ".cwd", CurrentDirectory()) && WriteWhole(self + ".show", show);
  return ok && WriteWhole(self + ".done", "") ? 0 : 1;
}
