// Resource identifiers of the edit dialog (200 and 2000 ranges).
#pragma once

#define IDD_EDIT 200

#define IDC_LBLITEMNAME 2001
#define IDC_TXTITEMNAME 2002
#define IDC_BTNOPENSOURCE 2003
#define IDC_CHKFIXEDSTRING 2004
#define IDC_LBLAPLPATH 2005
#define IDC_TXTAPLPATH 2006
#define IDC_BTNBROWS 2007
#define IDC_LBLARGMENTS 2008
#define IDC_TXTARGMENTS 2009
#define IDC_BTNMENU 2010
#define IDC_LBLCOMMENT 2011
#define IDC_TXTEDITCOMMENT 2012
#define IDC_CHKCONTEXTS0 2013
#define IDC_CHKCONTEXTS1 2014
#define IDC_CHKCONTEXTS2 2015
#define IDC_CHKCONTEXTS3 2016
#define IDC_LBLWINDOWSTYLE 2017
#define IDC_CMBWINDOUSTYLE 2018
#define IDC_CHKCONFCMDLINE 2019
#define IDC_LBLCONTEXTS 2020
#define IDC_PICCONTEXTS 2021
#define IDC_FRACONTEXTS 2022
// btnOK and btnCancel are the dialog's IDOK and IDCANCEL, so that Enter and
// Esc press them; the numbers stand here for the layout table, which is built
// without windows.h as well.
#define IDC_BTNOK 1
#define IDC_BTNCANCEL 2

// Commands of the parameter menu: kPlaceholders[i] is IDM_TOKEN_BASE + i.
#define IDM_TOKEN_BASE 2100
#define IDM_CANCEL 2199
