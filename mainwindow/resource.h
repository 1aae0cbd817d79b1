// Resource identifiers of the main window. The edit dialog keeps its own in
// the 200 and 2000 ranges, the help texts theirs from 4096 on.
#pragma once

#define IDD_MAIN 100
#define IDC_STATUSBAR 101

#define IDC_LABEL1 1001
#define IDC_LSTITEMS 1002
#define IDC_BTNADD 1003
#define IDC_BTNEDIT 1004
#define IDC_BTNRENAME 1005
#define IDC_BTNDEL 1006
#define IDC_BTNALLDEL 1007
#define IDC_TXTCOMMENT 1008
// btnExit is the dialog's cancel button, so that Esc presses it.
#define IDC_BTNEXIT 2

// The list's context menu.
#define IDM_LISTMENU 110
#define IDM_EXPORTALL 1101
#define IDM_EXPORTSELECTED 1102
#define IDM_IMPORT 1103
#define IDM_LISTHELP 1104

// The question when an imported item's name is listed already.
#define IDD_IMPORTCONFLICT 120
#define IDC_CONFLICTTEXT 1201
#define IDC_BTNOVERWRITE 1202
#define IDC_BTNSKIP 1203
#define IDC_BTNKEEPBOTH 1204
#define IDC_CHKAPPLYALL 1205
