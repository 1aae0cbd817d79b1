#include "tests/harness/window_search.h"

#include <cstring>

std::vector<HWND> TopLevelWindows(const std::function<bool(HWND)>& matches) {
  struct Search {
    const std::function<bool(HWND)>* matches;
    std::vector<HWND> found;
  } search{&matches, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if ((*s->matches)(window)) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindTopLevelWindow(const std::function<bool(HWND)>& matches) {
  const std::vector<HWND> found = TopLevelWindows(matches);
  return found.empty() ? nullptr : found.front();
}

HWND FindProcessWindow(DWORD processId, const char* className, const char* title) {
  for (HWND window = FindWindowA(className, title); window;
       window = FindWindowExA(nullptr, window, className, title)) {
    if (ProcessOf(window) == processId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

bool IsVisibleDialog(HWND window) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  return strcmp(className, "#32770") == 0 && IsWindowVisible(window);
}

DWORD ProcessOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId;
}

bool WaitForWindowThread(HWND window, DWORD timeoutMs) {
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, nullptr) != 0;
}
