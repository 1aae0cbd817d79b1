// The fixed layout of the edit dialog in twips, the help topic and tooltip of
// each control: one row of ui/control_layout.h per control.
#pragma once

#include <array>
#include <cstddef>

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
