#include "mainwindow/main_window_layout.h"

TwipsRect MainControlTwips(MainControl control) {
  switch (control) {
    case MainControl::Label1:
      return {240, 240, 1650, 180};
    case MainControl::LstItems:
      return {240, 495, 2895, 2220};
    case MainControl::BtnAdd:
      return {3240, 480, 1215, 375};
    case MainControl::BtnEdit:
      return {3240, 945, 1215, 375};
    case MainControl::BtnRename:
      return {3240, 1410, 1215, 375};
    case MainControl::BtnDel:
      return {3240, 1875, 1215, 375};
    case MainControl::BtnAllDel:
      return {3240, 2340, 1215, 375};
    case MainControl::TxtComment:
      return {240, 2880, 4215, 1215};
    case MainControl::BtnExit:
      return {-500, -500, 450, 375};
  }
  return {};
}

int MainHelpTopic(MainControl control) {
  switch (control) {
    case MainControl::Label1:
    case MainControl::LstItems:
      return 2;
    case MainControl::BtnAdd:
      return 3;
    case MainControl::BtnEdit:
      return 4;
    case MainControl::BtnDel:
      return 5;
    case MainControl::BtnAllDel:
      return 6;
    case MainControl::TxtComment:
      return 7;
    case MainControl::BtnRename:
      return 26;
    case MainControl::BtnExit:
      return 0;
  }
  return 0;
}
