#include "ui/window_placement.h"

#include "common/win_handles.h"
#include "common/window_geometry.h"
#include "ui/screen_geometry.h"

namespace {

ScreenRect ToScreenRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

int WindowDpi(HWND window) {
  // Looked up rather than imported, so that the programs still start on a
  // Windows without it.
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow && window) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  WindowDc dc(window);
  const int dpi = dc ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

SIZE PlaceControls(HWND window, std::span<const ControlLayout> layout, int clientWidthTwips,
                   int clientHeightTwips) {
  // The window's DPI, which its dialog font was made for too.
  const int dpi = WindowDpi(window);
  for (const ControlLayout& control : layout) {
    HWND child = GetDlgItem(window, control.id);
    MoveWindow(child, TwipsToPixels(control.twips.left, dpi), TwipsToPixels(control.twips.top, dpi),
               TwipsToPixels(control.twips.width, dpi), TwipsToPixels(control.twips.height, dpi), FALSE);
    SetWindowContextHelpId(child, control.helpTopic);
  }
  RECT frame = {0, 0, TwipsToPixels(clientWidthTwips, dpi), TwipsToPixels(clientHeightTwips, dpi)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
  return {frame.right - frame.left, frame.bottom - frame.top};
}

RECT WorkAreaAt(const RECT& rect) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY), &monitor);
  return monitor.rcWork;
}

void CentreWindow(HWND window, const RECT& over, SIZE size) {
  const ScreenPoint at =
      CentredWindowPosition(ToScreenRect(over), size.cx, size.cy, ToScreenRect(WorkAreaAt(over)));
  SetWindowPos(window, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreOverOwner(HWND window, SIZE size) {
  RECT over;
  HWND owner = GetWindow(window, GW_OWNER);
  if (!owner || !GetWindowRect(owner, &over))
    over = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  CentreWindow(window, over, size);
}
