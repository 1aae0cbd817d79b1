#include "common/start_program.h"

#include <windows.h>

#include "common/win_handles.h"

bool StartProgram(const std::string& commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  UniqueProcessInformation process;
  std::string mutableLine = commandLine;  // CreateProcessA may write into it
  return CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        process.put()) != FALSE;
}
