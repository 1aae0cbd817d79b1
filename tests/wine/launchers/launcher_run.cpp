#include "tests/wine/launchers/launcher_run.h"

#include "common/win_handles.h"
#include "tests/harness/build_output.h"
#include "tests/harness/win_test_util.h"

std::string BuiltProgram(const std::string& name) {
  if (name == "Clipsy") return BuildOutputPath(ORBISK_CLIPSY_EXE);
  if (name == "Jotwell") return BuildOutputPath(ORBISK_JOTWELL_EXE);
  if (name == "Fetchbay") return BuildOutputPath(ORBISK_FETCHBAY_EXE);
  if (name == "Pagewatch") return BuildOutputPath(ORBISK_PAGEWATCH_EXE);
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

int RunCommandLine(const std::string& commandLine, const std::string& workingDir) {
  return RunProcess(commandLine, 30000, workingDir);
}

int RunLauncher(const std::string& programPath, const std::string& argumentText,
                const std::string& workingDir) {
  return RunCommandLine(MenuCommandLine(programPath, argumentText), workingDir);
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
