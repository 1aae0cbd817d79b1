// The fixed layout of the main window in twips and the help topic each
// control leads to: one row of ui/control_layout.h per control.
#pragma once

#include <array>
#include <cstddef>

#include "ui/control_layout.h"

// Every control in tab order, which is also its row in kMainLayout.
enum class MainControl {
  Label1,
  LstItems,
  BtnAdd,
  BtnEdit,
  BtnRename,
  BtnDel,
  BtnAllDel,
  TxtComment,
  BtnExit
};

inline constexpr std::size_t kMainControlCount = 9;
extern const std::array<ControlLayout, kMainControlCount> kMainLayout;

inline constexpr int kMainClientWidthTwips = 4695;
inline constexpr int kMainClientHeightTwips = 4470;

// Where the control sits in the client area. The exit button only exists to
// take Esc; it sits outside the client area where it can never be seen.
TwipsRect MainControlTwips(MainControl control);

// Help topic shown by a right click on the control; 0 for none.
int MainHelpTopic(MainControl control);
