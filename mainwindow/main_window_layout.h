// The fixed layout of the main window in twips, and the help topic each
// control leads to. Converted to pixels at the system's DPI when the window
// loads (15 twips are one pixel at 96 DPI).
#pragma once

#include <array>

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

// Every control in tab order.
inline constexpr std::array<MainControl, 9> kMainControls = {
    MainControl::Label1,    MainControl::LstItems,   MainControl::BtnAdd,
    MainControl::BtnEdit,   MainControl::BtnRename,  MainControl::BtnDel,
    MainControl::BtnAllDel, MainControl::TxtComment, MainControl::BtnExit};

struct TwipsRect {
  int left = 0, top = 0, width = 0, height = 0;
};

inline constexpr int kMainClientWidthTwips = 4695;
inline constexpr int kMainClientHeightTwips = 4470;

// Where the control sits in the client area. The exit button only exists to
// take Esc; it sits outside the client area where it can never be seen.
TwipsRect MainControlTwips(MainControl control);

// Help topic shown by a right click on the control; 0 for none.
int MainHelpTopic(MainControl control);
