#include "editdialog/edit_dialog_layout.h"

const std::array<EditControl, kEditControlCount> kEditControls = {
    EditControl::LblItemName,    EditControl::TxtItemName,    EditControl::BtnOpenSource,
    EditControl::ChkFixedString, EditControl::LblAplPath,     EditControl::TxtAplPath,
    EditControl::BtnBrows,       EditControl::LblArgments,    EditControl::TxtArgments,
    EditControl::BtnMenu,        EditControl::LblComment,     EditControl::TxtComment,
    EditControl::ChkContext0,    EditControl::ChkContext1,    EditControl::ChkContext2,
    EditControl::ChkContext3,    EditControl::LblWindowStyle, EditControl::CmbWindouStyle,
    EditControl::ChkConfCmdLine, EditControl::BtnOK,          EditControl::BtnCancel,
    EditControl::LblContexts,    EditControl::PicContexts,    EditControl::FraContexts};

namespace {

// Positions in pixels at 96 DPI; every value times 15 is the twips.
TwipsRect Px(int left, int top, int width, int height) {
  return {left * 15, top * 15, width * 15, height * 15};
}

}  // namespace

TwipsRect EditControlTwips(EditControl control) {
  switch (control) {
    case EditControl::LblItemName:
      return Px(8, 8, 250, 14);
    case EditControl::TxtItemName:
      return Px(8, 24, 334, 21);
    case EditControl::BtnOpenSource:
      return Px(348, 24, 24, 21);
    case EditControl::ChkFixedString:
      return Px(8, 52, 250, 18);
    case EditControl::LblAplPath:
      return Px(8, 78, 250, 14);
    case EditControl::TxtAplPath:
      return Px(8, 94, 334, 21);
    case EditControl::BtnBrows:
      return Px(348, 94, 24, 21);
    case EditControl::LblArgments:
      return Px(8, 122, 250, 14);
    case EditControl::TxtArgments:
      return Px(8, 138, 334, 21);
    case EditControl::BtnMenu:
      return Px(348, 138, 24, 21);
    case EditControl::LblComment:
      return Px(8, 166, 250, 14);
    case EditControl::TxtComment:
      return Px(8, 182, 364, 54);
    case EditControl::FraContexts:
      return Px(8, 246, 214, 66);
    case EditControl::LblContexts:
      return Px(16, 245, 60, 13);
    case EditControl::PicContexts:
      return Px(12, 260, 206, 48);
    case EditControl::ChkContext0:
      return Px(18, 263, 84, 18);
    case EditControl::ChkContext1:
      return Px(104, 263, 112, 18);
    case EditControl::ChkContext2:
      return Px(18, 286, 84, 18);
    case EditControl::ChkContext3:
      return Px(104, 286, 112, 18);
    case EditControl::LblWindowStyle:
      return Px(230, 248, 142, 14);
    case EditControl::CmbWindouStyle:
      return Px(230, 264, 142, 200);
    case EditControl::ChkConfCmdLine:
      return Px(230, 292, 142, 18);
    case EditControl::BtnOK:
      return Px(214, 322, 76, 26);
    case EditControl::BtnCancel:
      return Px(296, 322, 76, 26);
  }
  return {};
}

int EditHelpTopic(EditControl control, bool fixedString) {
  switch (control) {
    case EditControl::LblItemName:
    case EditControl::TxtItemName:
      return 8;
    case EditControl::LblAplPath:
    case EditControl::TxtAplPath:
      return 9;
    case EditControl::BtnBrows:
      return 10;
    case EditControl::LblArgments:
    case EditControl::TxtArgments:
      return fixedString ? 25 : 11;
    case EditControl::BtnMenu:
      return fixedString ? 27 : 12;
    case EditControl::LblComment:
    case EditControl::TxtComment:
      return 13;
    case EditControl::FraContexts:
    case EditControl::PicContexts:
      return 14;
    case EditControl::ChkContext0:
      return 15;
    case EditControl::ChkContext1:
      return 16;
    case EditControl::ChkContext2:
      return 17;
    case EditControl::ChkContext3:
      return 18;
    case EditControl::BtnOK:
      return 19;
    case EditControl::BtnCancel:
      return 20;
    case EditControl::LblWindowStyle:
    case EditControl::CmbWindouStyle:
      return 21;
    case EditControl::ChkConfCmdLine:
      return 22;
    case EditControl::BtnOpenSource:
      return 23;
    case EditControl::ChkFixedString:
      return 24;
    case EditControl::LblContexts:
      return 0;
  }
  return 0;
}

const char* EditTooltip(EditControl control) {
  switch (control) {
    case EditControl::BtnBrows:
      return "ｱﾌﾟﾘｹｰｼｮﾝの選択";
    case EditControl::BtnMenu:
      return "置換ﾊﾟﾗﾒｰﾀの選択";
    case EditControl::FraContexts:
    case EditControl::PicContexts:
      return "右ｸﾘｯｸﾒﾆｭｰを表示する条件の選択";
    case EditControl::ChkContext0:
      return "何もないところで右ｸﾘｯｸ";
    case EditControl::ChkContext1:
      return "画像の上で右ｸﾘｯｸ";
    case EditControl::ChkContext2:
      return "ﾘﾝｸの上で右ｸﾘｯｸ";
    case EditControl::ChkContext3:
      return "ﾃｷｽﾄを選択した状態で右ｸﾘｯｸ";
    case EditControl::BtnOpenSource:
      return "ｽｸﾘﾌﾟﾄの表示";
    default:
      return nullptr;
  }
}
