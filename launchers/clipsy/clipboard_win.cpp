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

// Movable memory locked for the length of the scope; get() is null when it
// could not be locked.
class LockedGlobal {
 public:
  explicit LockedGlobal(HGLOBAL memory) : memory_(memory), bytes_(GlobalLock(memory)) {}
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;
  ~LockedGlobal() {
    if (bytes_) GlobalUnlock(memory_);
  }
  void* get() const { return bytes_; }

 private:
  HGLOBAL memory_;
  void* bytes_;
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

  // Declared after the clipboard, so that memory the clipboard did not take
  // is freed before the clipboard is closed.
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
  if (!memory) return {LastErrorOr(ERROR_NOT_ENOUGH_MEMORY)};
  {
    const LockedGlobal bytes(memory.get());
    if (!bytes.get()) return {LastErrorOr(ERROR_NOT_ENOUGH_MEMORY)};
    std::memcpy(bytes.get(), text.c_str(), text.size() + 1);
  }
  if (!SetClipboardData(CF_TEXT, memory.get())) return {LastErrorOr(ERROR_ACCESS_DENIED)};
  memory.release();  // the clipboard's now
  return {};
}

std::string ErrorMessageText(DWORD error) {
  char* description = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<char*>(&description), 0, nullptr);
  const UniqueLocalMemory owner(description);
  std::string text = length ? std::string(description, length) : std::string();
  // The system's descriptions end in a line break.
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text + "(" + std::to_string(error) + ")";
}
