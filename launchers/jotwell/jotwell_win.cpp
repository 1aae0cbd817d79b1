#include "launchers/jotwell/jotwell_win.h"

#include <windows.h>  // with the shell API: ShellExecuteA

#include "common/win_handles.h"
#include "launchers/common/launcher.h"
#include "launchers/common/launcher_text.h"
#include "launchers/jotwell/jotwell_options.h"

bool AppendTextLine(const std::string& filePath, const std::string& text) {
  const auto path = StripEnclosingQuotes(filePath);
  if (!path) return false;
  UniqueFile file(CreateFileA(path->c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const std::string line = text + "\r\n";
  DWORD written = 0;
  return WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size();
}

bool RunEditor(const std::string& editorPath, const std::string& filePath) {
  return StartProgram(ProgramWithFileArgument(editorPath, QuoteUnlessEnclosed(filePath)));
}

bool OpenWithAssociation(const std::string& filePath) {
  const auto path = StripEnclosingQuotes(filePath);
  if (!path) return false;
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteA(GetDesktopWindow(), "open", path->c_str(), "", "", SW_SHOW));
  return result > 32;
}
