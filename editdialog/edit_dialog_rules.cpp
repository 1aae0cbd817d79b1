#include "editdialog/edit_dialog_rules.h"

#include "common/text_util.h"
#include "editdialog/edit_dialog_resource.h"

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
constexpr TwipsRect Px(int left, int top, int width, int height) {
  return {left * 15, top * 15, width * 15, height * 15};
}

std::size_t Row(EditControl control) { return static_cast<std::size_t>(control); }

}  // namespace

const std::array<ControlLayout, kEditControlCount> kEditLayout = {{
    {IDC_LBLITEMNAME, Px(8, 8, 250, 14), 8},           // LblItemName
    {IDC_TXTITEMNAME, Px(8, 24, 334, 21), 8},          // TxtItemName
    {IDC_BTNOPENSOURCE, Px(348, 24, 24, 21), 23},      // BtnOpenSource
    {IDC_CHKFIXEDSTRING, Px(8, 52, 250, 18), 24},      // ChkFixedString
    {IDC_LBLAPLPATH, Px(8, 78, 250, 14), 9},           // LblAplPath
    {IDC_TXTAPLPATH, Px(8, 94, 334, 21), 9},           // TxtAplPath
    {IDC_BTNBROWS, Px(348, 94, 24, 21), 10},           // BtnBrows
    {IDC_LBLARGMENTS, Px(8, 122, 250, 14), 11},        // LblArgments
    {IDC_TXTARGMENTS, Px(8, 138, 334, 21), 11},        // TxtArgments
    {IDC_BTNMENU, Px(348, 138, 24, 21), 12},           // BtnMenu
    {IDC_LBLCOMMENT, Px(8, 166, 250, 14), 13},         // LblComment
    {IDC_TXTEDITCOMMENT, Px(8, 182, 364, 54), 13},     // TxtComment
    {IDC_CHKCONTEXTS0, Px(18, 263, 84, 18), 15},       // ChkContext0
    {IDC_CHKCONTEXTS1, Px(104, 263, 112, 18), 16},     // ChkContext1
    {IDC_CHKCONTEXTS2, Px(18, 286, 84, 18), 17},       // ChkContext2
    {IDC_CHKCONTEXTS3, Px(104, 286, 112, 18), 18},     // ChkContext3
    {IDC_LBLWINDOWSTYLE, Px(230, 248, 142, 14), 21},   // LblWindowStyle
    {IDC_CMBWINDOUSTYLE, Px(230, 264, 142, 200), 21},  // CmbWindouStyle
    {IDC_CHKCONFCMDLINE, Px(230, 292, 142, 18), 22},   // ChkConfCmdLine
    {IDC_BTNOK, Px(214, 322, 76, 26), 19},             // BtnOK
    {IDC_BTNCANCEL, Px(296, 322, 76, 26), 20},         // BtnCancel
    {IDC_LBLCONTEXTS, Px(16, 245, 60, 13), 0},         // LblContexts
    {IDC_PICCONTEXTS, Px(12, 260, 206, 48), 14},       // PicContexts
    {IDC_FRACONTEXTS, Px(8, 246, 214, 66), 14},        // FraContexts
}};

int EditControlId(EditControl control) { return kEditLayout[Row(control)].id; }

TwipsRect EditControlTwips(EditControl control) { return kEditLayout[Row(control)].twips; }

int EditHelpTopic(EditControl control, bool fixedString) {
  if (fixedString) {
    // The parameter box holds the fixed string, and the menu offers only its tokens.
    if (control == EditControl::LblArgments || control == EditControl::TxtArgments) return 25;
    if (control == EditControl::BtnMenu) return 27;
  }
  return kEditLayout[Row(control)].helpTopic;
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

TokenInsertion InsertTokenAt(std::string_view text, int caret, std::string_view token) {
  const std::size_t at = SjisByteOffset(text, caret < 0 ? 0 : static_cast<std::size_t>(caret));
  TokenInsertion result;
  result.text.reserve(text.size() + token.size());
  result.text.append(text.substr(0, at)).append(token).append(text.substr(at));
  result.caret = static_cast<int>(SjisCharCount(text.substr(0, at)) + SjisCharCount(token));
  return result;
}

std::string InitialBrowseFolder(std::string_view pathField,
                                const std::function<PathKind(const std::string&)>& pathKind) {
  const std::string path = TrimBlanks(pathField);
  if (path.empty()) return {};
  if (FindLastSjisChar(path, '\\') == std::string_view::npos) return {};
  const std::string fileName = GetFileNamePart(path);
  const std::string folder = path.substr(0, path.size() - fileName.size());
  if (folder.empty() || pathKind(folder) != PathKind::Folder) return {};
  return folder;
}

std::string NameFromProgramPath(std::string_view path) { return WithoutExtension(GetFileNamePart(path)); }

std::string EditorCommandLine(std::string_view editor, std::string_view script) {
  std::string line;
  line.append("\"").append(editor).append("\" \"").append(script).append("\"");
  return line;
}
