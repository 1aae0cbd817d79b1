#include "launchers/clipsy/clipboard_win.h"

#include <cstring>

#include "common/text_util.h"
#include "common/win_handles.h"

namespace {

// The error of the step that just failed; some steps fail without setting
// one, and a description of "success" would only confuse.
DWORD LastErrorOr(DWORD fallback) {
  const DWORD error = GetLastError();
  return error != 0 ? error : fallback;
}

// The clipboard's owner while Clipsy fills it. Opened without a window,
// EmptyClipboard leaves the clipboard without an owner, and Windows may then
// refuse SetClipboardData. Message-only: it is never shown and gets no
// broadcasts.
UniqueWindow CreateOwnerWindow() {
  return UniqueWindow(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
}

class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  bool open() const { return open_; }

 private:
  bool open_;
};

}  // namespace

ClipboardResult PutTextOnClipboard(const std::string& text) {
  SetLastError(0);
  // Declared first, so it is destroyed after the clipboard is closed.
  const UniqueWindow owner = CreateOwnerWindow();
  if (!owner) return {LastErrorOr(ERROR_INVALID_WINDOW_HANDLE)};
  OpenedClipboard clipboard(owner.get());
  if (!clipboard.open()) return {LastErrorOr(ERROR_ACCESS_DENIED)};
  if (!EmptyClipboard()) return {LastErrorOr(ERROR_ACCESS_DENIED)};

  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!memory) return {LastErrorOr(ERROR_NOT_ENOUGH_MEMORY)};
  void* bytes = GlobalLock(memory);
  if (!bytes) {
    const DWORD error = LastErrorOr(ERROR_NOT_ENOUGH_MEMORY);
    GlobalFree(memory);
    return {error};
  }
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_TEXT, memory)) {
    const DWORD error = LastErrorOr(ERROR_ACCESS_DENIED);
    GlobalFree(memory);  // still ours: the clipboard did not take it
    return {error};
  }
  return {};
}

std::string ErrorMessageText(DWORD error) {
  char* description = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<char*>(&description), 0, nullptr);
  std::string text = length ? std::string(description, length) : std::string();
  if (description) LocalFree(description);
  // The system's descriptions end in a line break.
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text + "(" + std::to_string(error) + ")";
}
