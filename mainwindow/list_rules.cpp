#include "mainwindow/list_rules.h"

#include <string>

#include "common/text_util.h"
#include "ui/screen_geometry.h"

bool IsAcceptableDrop(std::string_view path, PathKind kind) {
  if (kind != PathKind::File) return false;
  const std::string lower = ToLowerSjis(path);
  // The recycle bins of every Windows version: a file there is a deleted one.
  // Checked from the second character on, after the drive letter.
  for (const std::string_view bin : {":\\recycler\\", ":\\recycled\\", ":\\$recycle.bin\\"}) {
    if (!lower.empty() && lower.compare(1, bin.size(), bin) == 0) return false;
  }
  return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".exe") == 0;
}

bool NeedsFullNameTip(int listWidth, int nameWidth) { return listWidth < RoundHalfEven(nameWidth * 1.03); }
