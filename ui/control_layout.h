// The fixed layouts of both windows: one row per control with its resource
// id, its place in the client area in twips and the help topic a right click
// on it shows. Each window keeps such a table and places its controls from it
// at load, at the window's DPI (15 twips are one pixel at 96 DPI), with
// PlaceControls of ui/window_placement.h.
#pragma once

#include "ui/screen_geometry.h"

struct ControlLayout {
  int id = 0;
  TwipsRect twips;
  int helpTopic = 0;  // 0 for none
};
