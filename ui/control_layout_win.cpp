#include "ui/control_layout.h"

#include "ui/window_dpi.h"

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
