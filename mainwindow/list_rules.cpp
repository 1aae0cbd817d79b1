#include "mainwindow/list_rules.h"

#include <string>

#include "common/text_util.h"
#include "ui/screen_geometry.h"

namespace {

// An existing file outside the recycle bins, whose name ends in extension
// (lower case, with its dot), any letter case.
bool IsDroppedFileWith(std::string_view path, PathKind kind, std::string_view extension) {
  if (kind != PathKind::File) return false;
  const std::string lower = ToLowerSjis(path);
  // The recycle bins of every Windows version: a file there is a deleted one.
  // Checked from the second character on, after the drive letter.
  for (const std::string_view bin : {":\\recycler\\", ":\\recycled\\", ":\\$recycle.bin\\"}) {
    if (!lower.empty() && lower.compare(1, bin.size(), bin) == 0) return false;
  }
  return lower.size() >= extension.size() &&
         lower.compare(lower.size() - extension.size(), extension.size(), extension) == 0;
}

}  // namespace

bool IsAcceptableDrop(std::string_view path, PathKind kind) { return IsDroppedFileWith(path, kind, ".exe"); }

bool IsItemFileDrop(std::string_view path, PathKind kind) { return IsDroppedFileWith(path, kind, ".ini"); }

StartAction ReadStartArguments(const std::vector<std::string>& arguments) {
  StartAction action;
  const auto isOption = [](const std::string& argument) {
    return !argument.empty() && (argument[0] == '/' || argument[0] == '-');
  };
  const auto is = [&](const std::string& argument, std::string_view name) {
    return isOption(argument) && ToLowerSjis(argument.substr(1)) == name;
  };
  // /quiet counts wherever it stands: a deployment script that writes it
  // first must not get a box that nobody in its session will ever answer.
  std::vector<std::string> rest;
  for (const std::string& argument : arguments) {
    if (is(argument, "quiet")) {
      action.quiet = true;
    } else {
      rest.push_back(argument);
    }
  }
  if (rest.empty()) {
    if (action.quiet) action.kind = StartAction::Usage;
    return action;
  }
  if (is(rest[0], "export")) {
    action.kind = StartAction::Export;
  } else if (is(rest[0], "import")) {
    action.kind = StartAction::Import;
  } else {
    // An argument that is no option is a file dropped on the program's icon,
    // or a shortcut's leftover: the window opens, as it always did. A quiet
    // run opens no window.
    if (isOption(rest[0]) || action.quiet) action.kind = StartAction::Usage;
    return action;
  }
  if (rest.size() != 2 || rest[1].empty()) {
    action.kind = StartAction::Usage;
    return action;
  }
  action.file = rest[1];
  return action;
}

bool NeedsFullNameTip(int listWidth, int nameWidth) { return listWidth < RoundHalfEven(nameWidth * 1.03); }
