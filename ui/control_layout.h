// The fixed layouts of both windows: one row per control with its resource
// id, its place in the client area in twips and the help topic a right click
// on it shows. Each window keeps such a table and places its controls from it
// at load, at the window's DPI (15 twips are one pixel at 96 DPI).
#pragma once

#include <span>

#include "ui/screen_geometry.h"

struct ControlLayout {
  int id = 0;
  TwipsRect twips;
  int helpTopic = 0;  // 0 for none
};

#ifdef _WIN32
#include <windows.h>

// Moves every control of the table in window to its place and gives it its
// help topic, and returns the outer size that window needs for a client area
// of clientWidthTwips x clientHeightTwips. The window itself is not moved:
// each window has its own place on the screen.
SIZE PlaceControls(HWND window, std::span<const ControlLayout> layout, int clientWidthTwips,
                   int clientHeightTwips);
#endif
