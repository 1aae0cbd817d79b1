#include "tests/harness/win_test_util.h"

#include <shellapi.h>

#include "common/module_path.h"
#include "common/win_handles.h"
#include "tests/harness/child_process.h"

std::string ReadFileBytes(const std::string& path) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              0, nullptr));
  if (!file) return {};
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return false;
  DWORD done = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
         done == bytes.size();
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteTree(const std::string& folder) {
  if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  std::string from = folder;
  while (!from.empty() && from.back() == '\\') from.pop_back();
  from.push_back('\0');  // double-NUL terminated list of one
  SHFILEOPSTRUCTA operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  SHFileOperationA(&operation);
  return GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

int RunProcess(const std::string& commandLine, DWORD timeoutMs, const std::string& workingDir) {
  return ChildProcess(commandLine, workingDir).Wait(timeoutMs);
}

void FlushMessages() {
  MSG message;
  // A bound against a queue that refills itself for ever.
  for (int handled = 0; handled < 100000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++handled) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void PumpMessages(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    // Woken by the next message (a timer's among them) or at the end.
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

std::vector<std::wstring> SplitAsWindowsDoes(const std::wstring& commandLine) {
  int count = 0;
  const UniqueLocalMemory list(CommandLineToArgvW(commandLine.c_str(), &count));
  std::vector<std::wstring> arguments;
  const auto* argv = static_cast<LPWSTR*>(list.get());
  for (int i = 0; argv && i < count; ++i) arguments.emplace_back(argv[i]);
  return arguments;
}

namespace {

void AddFilesBelow(const std::string& folder, const std::string& relative, FolderSnapshot* files) {
  WIN32_FIND_DATAA found;
  const UniqueFind search(FindFirstFileA((folder + relative + "*").c_str(), &found));
  if (!search) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      AddFilesBelow(folder, relative + name + "\\", files);
    } else {
      (*files)[relative + name] = ReadFileBytes(folder + relative + name);
    }
  } while (FindNextFileA(search.get(), &found));
}

}  // namespace

FolderSnapshot FilesBelow(const std::string& folder) {
  FolderSnapshot files;
  AddFilesBelow(folder, "", &files);
  return files;
}
