// The two layouts of the dialog: a launcher item uses every field, a
// fixed-string item only its name, its text (in the parameter box) and its
// comment. Switching greys the unused controls and keeps their values.
#include "catalogue/placeholders.h"
#include "editdialog/edit_dialog_resource.h"
#include "editdialog/edit_form.h"

void ApplyItemKind() {
  const bool fixedString = Checked(IDC_CHKFIXEDSTRING);
  for (const int id : {IDC_LBLAPLPATH, IDC_TXTAPLPATH, IDC_BTNBROWS, IDC_FRACONTEXTS, IDC_PICCONTEXTS,
                       IDC_LBLCONTEXTS, IDC_CHKCONTEXTS0, IDC_CHKCONTEXTS1, IDC_CHKCONTEXTS2,
                       IDC_CHKCONTEXTS3, IDC_LBLWINDOWSTYLE, IDC_CMBWINDOUSTYLE, IDC_CHKCONFCMDLINE}) {
    EnableWindow(Control(id), fixedString ? FALSE : TRUE);
  }
  SetFieldText(IDC_LBLARGMENTS, fixedString ? "定型文字列(&P)" : "パラメータ(&P)");
  for (const EditControl control :
       {EditControl::LblArgments, EditControl::TxtArgments, EditControl::BtnMenu}) {
    SetWindowContextHelpId(Control(control), EditHelpTopic(control, fixedString));
  }
  // The page-fact groups of the parameter menu mean nothing in a fixed string.
  for (int position = 0; position < kPlaceholderGroupCount; ++position) {
    const bool offered = !fixedString || GroupOfferedForFixedString(kPlaceholderGroups[position].id);
    EnableMenuItem(frmEdit.mnuArgs.get(), position, MF_BYPOSITION | (offered ? MF_ENABLED : MF_GRAYED));
  }
}
