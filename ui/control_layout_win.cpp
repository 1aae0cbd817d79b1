#include "ui/control_layout.h"

#include "common/win_handles.h"

SIZE PlaceControls(HWND window, std::span<const ControlLayout> layout, int clientWidthTwips,
                   int clientHeightTwips) {
  int dpiX = 0, dpiY = 0;
  {
    WindowDc screen(nullptr);
    dpiX = GetDeviceCaps(screen.get(), LOGPIXELSX);
    dpiY = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  for (const ControlLayout& control : layout) {
    HWND child = GetDlgItem(window, control.id);
    MoveWindow(child, TwipsToPixels(control.twips.left, dpiX), TwipsToPixels(control.twips.top, dpiY),
               TwipsToPixels(control.twips.width, dpiX), TwipsToPixels(control.twips.height, dpiY), FALSE);
    SetWindowContextHelpId(child, control.helpTopic);
  }
  RECT frame = {0, 0, TwipsToPixels(clientWidthTwips, dpiX), TwipsToPixels(clientHeightTwips, dpiY)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
  return {frame.right - frame.left, frame.bottom - frame.top};
}
