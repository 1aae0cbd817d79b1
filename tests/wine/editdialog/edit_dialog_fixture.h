// The main window made in the test process over a catalogue of the test's
// own, and the edit dialog opened with its buttons and driven from inside its
// modal loop, on the thread that owns it, the way the user's input reaches it.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/item_record.h"
#include "tests/harness/item_records.h"
#include "tests/harness/test_folder.h"
#include "tests/wine/app_window_fixture.h"

// A launcher item starting path with all contexts set.
ItemRecord Launcher(const std::string& name, const std::string& path);
ItemRecord FixedStringItem(const std::string& name, const std::string& text);

class EditDialogTest : public AppWindowTest {
 protected:
  // Registers every item, writes a script file for each and the settings file.
  void WriteCatalogue(const std::vector<ItemRecord>& items);
  // Creates and shows the main window over the catalogue.
  HWND OpenMain();

  // Selects line (edit and rename) and presses the main window's button; the
  // steps run inside the dialog's modal loop with the dialog's handle. A
  // dialog still open after them is cancelled. Returns when it has closed.
  // buttonId kTimerAdd: the tick of Timer1 that turns a drop into an Add.
  static constexpr int kTimerAdd = -1;
  void RunDialog(int buttonId, int line, const std::function<void(HWND dialog)>& steps);

  // Helpers for the steps (they run on the dialog's thread).
  HWND Ctl(int id) const;
  std::string Text(int id) const;
  void SetText(int id, const std::string& text) const;
  void Click(int id) const;  // BM_CLICK: the button's command runs to its end
  bool IsChecked(int id) const;
  std::pair<int, int> Selection(int id) const;  // EM_GETSEL in characters
  int FocusId() const;                          // control id of the focus, 0 for none
  void PressKey(HWND target, UINT virtualKey, char typed = 0) const;
  void PressAccessKey(char letter) const;
  void ClickAt(int id, int x, int y) const;        // left button pressed and released in the control
  void PickToken(const std::string& token) const;  // a parameter-menu entry picked
  bool DialogOpen() const;

  std::vector<std::string> ListLines() const;
  int ListSelection() const;
  std::string Status(int part) const;
  bool ScriptExists(const std::string& name) const;
  bool KeyExists(const std::string& name) const;
  DWORD KeyNumber(const std::string& name, const char* value) const;  // 0xFFFFFFFF when unreadable
  std::string KeyDefault(const std::string& name) const;
  // The name as it stands on disk and among the MenuExt subkeys (letter case).
  std::string ScriptNameOnDisk(const std::string& name) const;
  std::string KeyNameInRegistry(const std::string& name) const;

  HWND main_ = nullptr;
  HWND dialog_ = nullptr;
};

// Makes writes to the item's key fail: its access list denies setting values
// to everyone (the key is made when missing). Deleting it stays allowed.
bool DenyValueWrites(const std::string& itemName);
