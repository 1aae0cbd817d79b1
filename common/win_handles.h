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
  UniqueWinHandle(UniqueWinHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
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
struct FindTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
struct ChangeNotificationTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindCloseChangeNotification(h); }
};
struct GlobalMemoryTraits {
  static HGLOBAL Invalid() { return nullptr; }
  static void Close(HGLOBAL h) { GlobalFree(h); }
};
struct LocalMemoryTraits {
  static HLOCAL Invalid() { return nullptr; }
  static void Close(HLOCAL h) { LocalFree(h); }
};
// A device context made by CreateCompatibleDC (not one borrowed from a window).
struct MemoryDcTraits {
  static HDC Invalid() { return nullptr; }
  static void Close(HDC h) { DeleteDC(h); }
};

// The files of a drag and drop (WM_DROPFILES), finished with DragFinish.
struct DropTraits {
  static HDROP Invalid() { return nullptr; }
  static void Close(HDROP h) { DragFinish(h); }
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
using UniqueMemoryDc = UniqueWinHandle<HDC, MemoryDcTraits>;
using UniqueFind = UniqueWinHandle<HANDLE, FindTraits>;
// A FindFirstChangeNotification handle.
using UniqueChangeNotification = UniqueWinHandle<HANDLE, ChangeNotificationTraits>;
using UniqueLocalMemory = UniqueWinHandle<HLOCAL, LocalMemoryTraits>;
using UniqueDrop = UniqueWinHandle<HDROP, DropTraits>;
// Memory from GlobalAlloc; release() it once another owner (the clipboard)
// has taken it.
using UniqueGlobal = UniqueWinHandle<HGLOBAL, GlobalMemoryTraits>;

// What CreateProcess fills in, owned whole: both handles close together, so
// neither can be forgotten on an early return.
class UniqueProcessInformation {
 public:
  UniqueProcessInformation() = default;
  UniqueProcessInformation(const UniqueProcessInformation&) = delete;
  UniqueProcessInformation& operator=(const UniqueProcessInformation&) = delete;
  UniqueProcessInformation(UniqueProcessInformation&& other) noexcept
      : info_(std::exchange(other.info_, PROCESS_INFORMATION{})) {}
  UniqueProcessInformation& operator=(UniqueProcessInformation&& other) noexcept {
    if (this != &other) {
      reset();
      info_ = std::exchange(other.info_, PROCESS_INFORMATION{});
    }
    return *this;
  }
  ~UniqueProcessInformation() { reset(); }

  // For CreateProcess's last argument.
  PROCESS_INFORMATION* put() {
    reset();
    return &info_;
  }
  HANDLE process() const { return info_.hProcess; }
  HANDLE thread() const { return info_.hThread; }
  DWORD processId() const { return info_.dwProcessId; }
  explicit operator bool() const { return info_.hProcess != nullptr; }
  // Gives up the process handle (the caller closes it); the thread handle is
  // closed now.
  HANDLE releaseProcess() {
    if (info_.hThread) CloseHandle(info_.hThread);
    return std::exchange(info_, PROCESS_INFORMATION{}).hProcess;
  }
  void reset() {
    if (info_.hThread) CloseHandle(info_.hThread);
    if (info_.hProcess) CloseHandle(info_.hProcess);
    info_ = {};
  }

 private:
  PROCESS_INFORMATION info_ = {};
};

// A window's device context (GetDC; nullptr for the screen), released to the
// same window at the end of the scope.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// The device context of a WM_PAINT: BeginPaint now, EndPaint at the end of
// the scope.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(window_, &paint_); }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  PAINTSTRUCT paint_ = {};
  HDC dc_;
};

// An object selected into a device context for the length of the scope; the
// object it replaced is selected back at the end, so that the context never
// keeps a font or bitmap it does not own. Nothing is selected into a null
// context or for a null object.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};
