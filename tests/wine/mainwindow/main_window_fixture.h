// The main window created in the test process: a catalogue written to the
// test's folder and registry, the window made over it, and helpers that read
// and drive its controls the way the user does.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "catalogue/item_record.h"
#include "common/win_handles.h"
#include "editdialog/edit_dialog.h"
#include "tests/harness/item_records.h"
#include "tests/harness/test_folder.h"
#include "tests/wine/app_window_fixture.h"

// A launcher item with a name and a comment, all four contexts set.
ItemRecord LauncherItem(const std::string& name, const std::string& comment = "");

// What a watched edit dialog saw when it opened.
struct OpenedDialog {
  std::string caption;
  EditModes mode = EditModes::Add;
  std::string droppedPath;
  DWORD at = 0;  // GetTickCount when it appeared
};

// Watches for the edit dialog over the main window, which runs on the test's
// own thread: a hook on that thread notes the dialog as it is shown, and the
// action then runs inside the dialog's modal loop (as the dialog's own code
// would), with the dialog's handle. The default action records what the
// dialog saw and cancels it. Nothing is polled: a dialog is seen the moment
// it shows, and one that never shows is never seen.
class EditDialogWatcher {
 public:
  using Action = std::function<void(HWND dialog)>;
  explicit EditDialogWatcher(HWND mainWindow, Action action = nullptr);
  ~EditDialogWatcher();
  EditDialogWatcher(const EditDialogWatcher&) = delete;
  EditDialogWatcher& operator=(const EditDialogWatcher&) = delete;

  const std::vector<OpenedDialog>& Opened() const { return opened_; }

  // Handles this thread's messages until count dialogs have opened in all,
  // for up to timeoutMs; true when they did.
  bool WaitForOpened(size_t count, DWORD timeoutMs = 5000);

  // Records the dialog and closes it with Cancel: the default action.
  void RecordAndCancel(HWND dialog);

 private:
  static LRESULT CALLBACK RelayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ShowHook(int code, WPARAM wParam, LPARAM lParam);
  void Shown(HWND window);

  HWND mainWindow_;
  HWND relay_ = nullptr;
  Action action_;
  std::vector<OpenedDialog> opened_;
  std::set<HWND> noticed_;
  UniqueHook hook_;
};

class MainWindowTest : public AppWindowTest {
 protected:
  // Registers the items (menu entry and a script file each) and writes the
  // settings file listing them, followed by the unregistered ones.
  void WriteCatalogue(const std::vector<ItemRecord>& registered,
                      const std::vector<ItemRecord>& unregistered = {});

  // Creates, shows and activates the main window over the catalogue.
  HWND Open();

  HWND Window() const { return window_; }
  HWND Control(int id) const;
  std::vector<std::string> ListLines() const;
  int Selection() const;
  std::string StatusText(int part) const;
  std::string WindowTextOf(HWND window) const;
  bool Enabled(int id) const;

  // A key pressed on target, through the dialog manager as the program's
  // message loop passes it.
  void PressKey(HWND target, UINT virtualKey);
  // Alt plus a letter (an access key).
  void PressAltKey(char letter);

  // The settings file's key=value lines of section ItemList, "" when missing.
  std::string SettingsText() const;
  // Names listed in the settings file, in file order.
  std::vector<std::string> SettingsNames() const;

  bool ScriptExists(const std::string& name) const;
  bool KeyExists(const std::string& name) const;

 private:
  HWND window_ = nullptr;
};

// A drop of the files (first in list order) as the shell makes it.
HDROP MakeDrop(const std::vector<std::string>& paths);
