#include "ui/screen_geometry.h"

#include <algorithm>
#include <cmath>

int RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction > 0.5) return static_cast<int>(floor) + 1;
  if (fraction < 0.5) return static_cast<int>(floor);
  const int lower = static_cast<int>(floor);
  return lower % 2 == 0 ? lower : lower + 1;
}

ScreenPoint CenteredBoxPosition(const ScreenRect& owner, int boxWidth, int boxHeight, int screenWidth,
                                int screenHeight) {
  ScreenPoint at;
  at.x = RoundHalfEven(owner.left + owner.Width() / 2.0 - boxWidth / 2.0);
  at.y = RoundHalfEven(owner.top + owner.Height() / 2.0 - boxHeight / 2.0);
  if (at.x < 0) at.x = 0;
  if (at.x + boxWidth > screenWidth) at.x = screenWidth - boxWidth;
  if (at.y < 0) at.y = 0;
  // Not flush with the bottom edge: a little above the lowest fitting place.
  if (at.y + boxHeight > screenHeight) at.y = RoundHalfEven((screenHeight - boxHeight) * 0.9);
  return at;
}

ScreenPoint HelpPopupPosition(const ScreenRect& control, int width, int height, const ScreenRect& workArea) {
  constexpr int kGap = 4;
  ScreenPoint at{control.right + kGap, control.top};
  if (at.x + width > workArea.right) at.x = control.left - kGap - width;
  at.x = std::max(workArea.left, std::min(at.x, workArea.right - width));
  at.y = std::max(workArea.top, std::min(at.y, workArea.bottom - height));
  return at;
}

int TwipsToPixels(int twips, int dpi) { return RoundHalfEven(twips * static_cast<double>(dpi) / 1440.0); }

// 15 twips are one pixel at 96 DPI.
int PixelsAtDpi(int pixelsAt96, int dpi) { return TwipsToPixels(pixelsAt96 * 15, dpi); }
