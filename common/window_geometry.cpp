#include "common/window_geometry.h"

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

ScreenPoint KeptInside(ScreenPoint at, int width, int height, const ScreenRect& area) {
  at.x = std::max(area.left, std::min(at.x, area.right - width));
  at.y = std::max(area.top, std::min(at.y, area.bottom - height));
  return at;
}

ScreenPoint CentredWindowPosition(const ScreenRect& over, int width, int height, const ScreenRect& area) {
  ScreenPoint at;
  at.x = RoundHalfEven(over.left + over.Width() / 2.0 - width / 2.0);
  at.y = RoundHalfEven(over.top + over.Height() / 2.0 - height / 2.0);
  // Not flush with the bottom edge: a little above the lowest fitting place.
  if (at.y + height > area.bottom) at.y = area.top + RoundHalfEven((area.Height() - height) * 0.9);
  return KeptInside(at, width, height, area);
}
