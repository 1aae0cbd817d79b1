// What's This help: a right click on a control shows the text of the control's
// help topic in a pop-up beside it. The texts live in the program's string
// table (IDS_HELP_TOPIC_BASE + topic); each control carries its topic number
// as its context help id (SetWindowContextHelpId).
#pragma once

#include <windows.h>

#include <string>

// The help file chosen at start-up (HelpFilePath). Kept as the program's help
// file name; the topics themselves are shown from the string table.
extern std::string ApplicationHelpFile;

enum class MouseButton { Left, Right, Middle };

// Shows the help topic of control in a pop-up beside it when button is the
// right button and the control has a topic; anything else does nothing.
void ShowFieldHelp(MouseButton button, HWND control);

// For a dialog's WM_CONTEXTMENU: finds the control that was right-clicked
// (target, or for a label that lets the mouse through, the enabled, visible
// child of the dialog under the point) and shows its help. A menu key press
// (point -1, -1) is not a mouse click and shows nothing. True when help was
// shown.
bool ShowFieldHelpAt(HWND dialog, HWND target, LPARAM screenPoint);

// The text of a help topic; "" for a topic without text.
std::string HelpTopicText(int topic);

// The pop-up while it is shown, else nullptr; the topic it shows.
HWND FieldHelpWindow();
int FieldHelpTopic();

// Closes the pop-up if one is shown. A click anywhere, a key or leaving the
// pop-up closes it as well.
void CloseFieldHelp();
