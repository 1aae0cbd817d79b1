// RAII owners for the Win32 handles Orbisk and the launchers open. Each closes
// its handle exactly once, when it goes out of scope.
#pragma once

#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class UniqueWinHandle {
 public:
  UniqueWinHandle() = default;
  explicit UniqueWinHandle(Handle handle) : handle_(handle) {}
  UniqueWinHandle(const UniqueWinHandle&) = delete;
  UniqueWinHandle& operator=(const UniqueWinHandle&) = delete;
  UniqueWinHandle(UniqueWinHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  UniqueWinHandle& operator=(UniqueWinHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, Traits::Invalid()));
    return *this;
  }
  ~UniqueWinHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  // For the out-parameters of the Create/Open calls.
  Handle* put() {
    reset();
    return &handle_;
  }
  Handle release() { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Handle handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct FileHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct KernelHandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct RegKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY h) { RegCloseKey(h); }
};
struct HookTraits {
  static HHOOK Invalid() { return nullptr; }
  static void Close(HHOOK h) { UnhookWindowsHookEx(h); }
};
struct GdiObjectTraits {
  static HGDIOBJ Invalid() { return nullptr; }
  static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct MenuTraits {
  static HMENU Invalid() { return nullptr; }
  static void Close(HMENU h) { DestroyMenu(h); }
};

struct WindowTraits {
  static HWND Invalid() { return nullptr; }
  static void Close(HWND h) { DestroyWindow(h); }
};

using UniqueFile = UniqueWinHandle<HANDLE, FileHandleTraits>;
using UniqueHandle = UniqueWinHandle<HANDLE, KernelHandleTraits>;
using UniqueRegKey = UniqueWinHandle<HKEY, RegKeyTraits>;
using UniqueHook = UniqueWinHandle<HHOOK, HookTraits>;
using UniqueGdiObject = UniqueWinHandle<HGDIOBJ, GdiObjectTraits>;
using UniqueMenu = UniqueWinHandle<HMENU, MenuTraits>;
using UniqueWindow = UniqueWinHandle<HWND, WindowTraits>;
