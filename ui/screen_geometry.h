// Placement arithmetic of both windows and their pop-ups, kept apart from
// Win32 so that the rules are tested natively: help pop-ups beside their
// control, twips converted to pixels. Centring a window is
// common/window_geometry.h's rule, which every centred window follows.
#pragma once

#include "common/window_geometry.h"

// Top-left corner of a help pop-up of width x height for a control: to the
// right of the control, top edges aligned; to its left when the right side
// has no room; always inside the work area.
ScreenPoint HelpPopupPosition(const ScreenRect& control, int width, int height, const ScreenRect& workArea);

// A length in twips (1440 per inch) as pixels at dpi pixels per inch.
int TwipsToPixels(int twips, int dpi);

// A length given in pixels of a 96 DPI display (the unit of the few fixed
// pixel sizes: status-bar parts, pop-up margins) as pixels at dpi, so that it
// keeps its size beside the text on a display scaled above 100 %.
int PixelsAtDpi(int pixelsAt96, int dpi);

// A control's place in its window's client area, in twips: the unit the
// fixed layouts of both windows are given in.
struct TwipsRect {
  int left = 0, top = 0, width = 0, height = 0;
};
