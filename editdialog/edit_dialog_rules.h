// The edit dialog's rules that need no window, built natively for the tests
// too: its fixed layout in twips with the help topic and tooltip of each
// control (one row of ui/control_layout.h per control), where a token goes
// into the parameter box, which folder the Open File dialog starts in, the
// name a chosen program gives a new item, and how the source editor is
// started.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "common/path_kind.h"
#include "ui/control_layout.h"

// Every control of the dialog, in tab order, which is also its row in
// kEditLayout; the context group's frame, container and heading come last:
// they only hold and label the four boxes.
enum class EditControl {
  LblItemName,  // lblHeader(0)
  TxtItemName,
  BtnOpenSource,
  ChkFixedString,
  LblAplPath,  // lblHeader(1)
  TxtAplPath,
  BtnBrows,
  LblArgments,  // lblHeader(2)
  TxtArgments,
  BtnMenu,
  LblComment,  // lblHeader(3)
  TxtComment,
  ChkContext0,
  ChkContext1,
  ChkContext2,
  ChkContext3,
  LblWindowStyle,  // lblHeader(4)
  CmbWindouStyle,
  ChkConfCmdLine,
  BtnOK,
  BtnCancel,
  LblContexts,
  PicContexts,
  FraContexts,
};

inline constexpr std::size_t kEditControlCount = 24;
extern const std::array<EditControl, kEditControlCount> kEditControls;

// The rows carry the help topics of the launcher layout.
extern const std::array<ControlLayout, kEditControlCount> kEditLayout;

inline constexpr int kEditClientWidthTwips = 5700;
inline constexpr int kEditClientHeightTwips = 5340;

// The control's resource id.
int EditControlId(EditControl control);

// Where the control sits in the client area.
TwipsRect EditControlTwips(EditControl control);

// What's This topic of the control in the launcher layout or, with
// fixedString, in the fixed-string layout; 0 for none.
int EditHelpTopic(EditControl control, bool fixedString);

// The tooltip shown while the mouse rests on the control; nullptr for none.
const char* EditTooltip(EditControl control);

// A token picked from the parameter menu, put into the parameter box.
struct TokenInsertion {
  std::string text;
  int caret = 0;  // character position right after the token
};

// The text with token put in at character position caret (clamped to the
// text): whatever stood from there on, a selection included, follows it.
TokenInsertion InsertTokenAt(std::string_view text, int caret, std::string_view token);

// The folder the Open File dialog starts in for the typed path: its folder
// part, with the final backslash, when that is an existing folder; else "".
std::string InitialBrowseFolder(std::string_view pathField,
                                const std::function<PathKind(const std::string&)>& pathKind);

// The item name a chosen program gives: its file name without the last
// extension (archive.tar.gz gives archive.tar, runme stays runme).
std::string NameFromProgramPath(std::string_view path);

// "editor" "script": both quoted, one blank between.
std::string EditorCommandLine(std::string_view editor, std::string_view script);
