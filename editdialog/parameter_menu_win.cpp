// mnuArgs: the placeholder tokens by group, opened by the ">" button, and the
// insertion of a picked token at the parameter box's caret.
#include "catalogue/placeholders.h"
#include "editdialog/edit_dialog_resource.h"
#include "editdialog/edit_dialog_rules.h"
#include "editdialog/edit_form.h"

namespace {

int GetCaretPosition() {
  DWORD start = 0;
  SendMessageW(Control(IDC_TXTARGMENTS), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int16_t>(start);
}

void InsertToken(const std::string& token) {
  SuppressSelectAll = true;
  const int caret = GetCaretPosition();
  const TokenInsertion inserted = InsertTokenAt(FieldText(IDC_TXTARGMENTS), caret, token);
  HWND box = Control(IDC_TXTARGMENTS);
  SetFieldText(IDC_TXTARGMENTS, inserted.text);
  SendMessageW(box, EM_SETSEL, inserted.caret, inserted.caret);
  SetFocus(box);
}

}  // namespace

UniqueMenu BuildParameterMenu() {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return {};
  for (const PlaceholderGroup& group : kPlaceholderGroups) {
    UniqueMenu entries(CreatePopupMenu());
    if (!entries) return {};
    for (const Placeholder& placeholder : PlaceholdersOf(group.id)) {
      const auto command = static_cast<UINT_PTR>(IDM_TOKEN_BASE + (&placeholder - kPlaceholders.data()));
      AppendMenuA(entries.get(), MF_STRING, command, placeholder.caption);
    }
    // Once appended, the submenu belongs to the menu and goes with it.
    if (!AppendMenuA(menu.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(entries.get()),
                     group.caption)) {
      return {};
    }
    entries.release();
  }
  AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.get(), MF_STRING, IDM_CANCEL, "キャンセル(&C)");
  return menu;
}

void OfferParameterGroups(bool fixedString) {
  // The page-fact groups mean nothing in a fixed string.
  for (int position = 0; position < kPlaceholderGroupCount; ++position) {
    const bool offered = !fixedString || GroupOfferedForFixedString(kPlaceholderGroups[position].id);
    EnableMenuItem(frmEdit.mnuArgs.get(), position, MF_BYPOSITION | (offered ? MF_ENABLED : MF_GRAYED));
  }
}

// Top-left corner at the button's left edge, just under its bottom edge. A
// picked token arrives as the entry's WM_COMMAND; the cancel entry's command
// does nothing.
void OpenParameterMenu() {
  if (!frmEdit.mnuArgs) return;
  HWND button = Control(IDC_BTNMENU);
  RECT rect;
  GetWindowRect(button, &rect);
  TrackPopupMenu(frmEdit.mnuArgs.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, rect.left, rect.bottom,
                 0, frmEdit.dialog, nullptr);
}

bool OnParameterMenuCommand(int id) {
  if (id < IDM_TOKEN_BASE || id >= IDM_TOKEN_BASE + kPlaceholderCount) return false;
  InsertToken(kPlaceholders[id - IDM_TOKEN_BASE].token);
  return true;
}
