#include "tests/wine/launchers/launcher_run.h"

#include "common/win_handles.h"
#include "tests/harness/win_test_util.h"

namespace {

// Under Wine the Unix root is drive Z:.
std::string WindowsPathOfBuild(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return "Z:" + path;
}

}  // namespace

std::string BuiltProgram(const std::string& name) {
  if (name == "Clipsy") return WindowsPathOfBuild(ORBISK_CLIPSY_EXE);
  if (name == "Jotwell") return WindowsPathOfBuild(ORBISK_JOTWELL_EXE);
  if (name == "Fetchbay") return WindowsPathOfBuild(ORBISK_FETCHBAY_EXE);
  if (name == "Pagewatch") return WindowsPathOfBuild(ORBISK_PAGEWATCH_EXE);
  if (name == "Recorder") return WindowsPathOfBuild(ORBISK_RECORDER_EXE);
  return {};
}

std::string CopyProgram(const std::string& name, const std::string& folder, const std::string& fileName) {
  const std::string target = folder + fileName;
  CreateDirectoryA(folder.c_str(), nullptr);
  if (!CopyFileA(BuiltProgram(name).c_str(), target.c_str(), FALSE)) return {};
  return target;
}

std::string MenuCommandLine(const std::string& programPath, const std::string& argumentText) {
  return "\"" + programPath + "\" " + argumentText;
}

RunningProcess::RunningProcess(const std::string& commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string mutableLine = commandLine;
  if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process_)) {
    process_ = {};
  }
}

RunningProcess::~RunningProcess() {
  if (process_.hProcess) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
}

int RunningProcess::Wait(DWORD timeoutMs) {
  if (!process_.hProcess) return -1;
  if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
    return -1;
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process_.hProcess, &exitCode);
  return static_cast<int>(exitCode);
}

int RunCommandLine(const std::string& commandLine, const std::string& workingDir) {
  return RunProcess(commandLine, 30000, workingDir);
}

int RunLauncher(const std::string& programPath, const std::string& argumentText,
                const std::string& workingDir) {
  return RunCommandLine(MenuCommandLine(programPath, argumentText), workingDir);
}

std::vector<RecordedStart> RecordedStarts(const std::string& recorderPath) {
  // Each start appends its command line and working folder, each ended by NUL.
  const std::string log = ReadFileBytes(recorderPath + ".log");
  std::vector<RecordedStart> starts;
  std::string::size_type pos = 0;
  for (;;) {
    const auto first = log.find('\0', pos);
    if (first == std::string::npos) break;
    const auto second = log.find('\0', first + 1);
    if (second == std::string::npos) break;
    starts.push_back({log.substr(pos, first - pos), log.substr(first + 1, second - first - 1)});
    pos = second + 1;
  }
  return starts;
}

std::vector<RecordedStart> WaitForRecordedStarts(const std::string& recorderPath, size_t count,
                                                 DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    auto starts = RecordedStarts(recorderPath);
    if (starts.size() >= count || GetTickCount() - start > timeoutMs) return starts;
    Sleep(20);
  }
}

std::string IniValue(const std::string& path, const std::string& section, const std::string& key) {
  std::string buffer(1 << 16, '\0');
  const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(),
                                                static_cast<DWORD>(buffer.size()), path.c_str());
  buffer.resize(length);
  return buffer;
}

void SetIniValue(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) {
  WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
}

std::string ExpectedUsage(const std::string& fileName, const std::string& usageTail) {
  return "コマンドライン：\r\n\r\n" + fileName + "．exe" + usageTail;
}
