// frmMain, the program's one window: the item list, its buttons, the hint box
// and the status bar. Start-up builds it, closing it saves and ends.
#pragma once

#include <windows.h>

#include <string>

inline constexpr char kMainWindowClass[] = "OrbiskMainWindow";

// Timer1: turns an accepted drop into an Add 200 ms later.
inline constexpr UINT_PTR kTimer1 = 1;
inline constexpr UINT kTimer1Interval = 200;

struct MainWindowOptions {
  // The per-user folder to use; "" computes it (program folder, "user\",
  // login name). Tests put it below their own folder.
  std::string userFolder;
  // End the message loop when the window is gone (the program's own window).
  bool quitWhenClosed = true;
};

// Runs the program: the single-instance rule, the main window, the message
// loop. Returns the exit code.
int RunOrbisk(HINSTANCE instance, int showCommand);

// Creates the main window, hidden, and runs its load (help file, version,
// status bar, hint, per-user folder, catalogue, list, buttons). nullptr when
// the per-user folder could not be made (the message was shown) or the window
// could not be created.
HWND CreateMainWindow(HINSTANCE instance, const MainWindowOptions& options);

// Closes the main window as the user does: the status bar goes, the settings
// file is saved, the window is destroyed.
void UnloadMainWindow();

// What the list commands use of the window.
HWND MainWindow();         // nullptr when there is none
HWND MainDlgItem(int id);  // a control by its resource id
HWND StatusBar();
int SelectedItemIndex();                 // line selected in lstItems, -1 for none
void RebuildItemList(int selectIndex);   // lstItems anew from Items; -1 selects nothing
void ShowItemCount();                    // "項目数：N" in part 0 of the status bar
void UpdateButtons();                    // enabled buttons from ItemCount and the selection
void ShowHint(const std::string& text);  // text of the hint box txtComment

// A program file dropped on the list, waiting for Timer1 to open Add with
// it; "" when none waits. Taking it clears it.
void SetPendingDrop(const std::string& path);
const std::string& PendingDrop();
std::string TakePendingDrop();

// Writes the catalogue to the settings file (SaveItems) after every committed
// change, so that a crash or a killed process loses nothing; on failure a
// critical message names the file. True when written.
bool SaveCatalogue();
