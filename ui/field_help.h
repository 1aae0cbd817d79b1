// What's This help: a right click on a control shows the text of the control's
// help topic in a pop-up beside it. The texts live in the program's string
// table (IDS_HELP_TOPIC_BASE + topic, ui/help_texts.h); each control carries
// its topic number as its context help id (SetWindowContextHelpId).
#pragma once

#include <windows.h>

#include <string>

// For a window's WM_CONTEXTMENU, which only a right click or the menu key
// sends: finds the control that was right-clicked (target, or for a label that
// lets the mouse through, the enabled, visible child of the window under the
// point) and shows its help topic beside it. A menu key press (point -1, -1)
// is not a mouse click and shows nothing, nor does a control without a topic.
// True when help was shown.
bool ShowFieldHelpAt(HWND window, HWND target, LPARAM screenPoint);

// The text of a help topic; "" for a topic without text.
std::string HelpTopicText(int topic);

// The pop-up while it is shown, else nullptr; the topic it shows.
HWND FieldHelpWindow();
int FieldHelpTopic();

// Closes the pop-up if one is shown. A click anywhere, a key or leaving the
// pop-up closes it as well.
void CloseFieldHelp();
