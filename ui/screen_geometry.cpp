#include "ui/screen_geometry.h"

ScreenPoint HelpPopupPosition(const ScreenRect& control, int width, int height, const ScreenRect& workArea) {
  constexpr int kGap = 4;
  ScreenPoint at{control.right + kGap, control.top};
  if (at.x + width > workArea.right) at.x = control.left - kGap - width;
  return KeptInside(at, width, height, workArea);
}

int TwipsToPixels(int twips, int dpi) { return RoundHalfEven(twips * static_cast<double>(dpi) / 1440.0); }

// 15 twips are one pixel at 96 DPI.
int PixelsAtDpi(int pixelsAt96, int dpi) { return TwipsToPixels(pixelsAt96 * 15, dpi); }
