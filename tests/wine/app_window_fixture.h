// Shared by the tests that run Orbisk's windows in the test process.
#pragma once

#include <windows.h>

#include <vector>

#include "catalogue/item_record.h"
#include "tests/harness/test_folder.h"

// Base of the window tests: the pointer parked in a corner (the window opens
// mid-screen, and a pointer over it would move the hint and tooltip on its
// own), the shared dialog state reset, and at the end any help pop-up closed
// and the main window destroyed without its unload, so nothing is saved by
// the tear-down itself.
class AppWindowTest : public WineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// Registers each item of registered and gives it a script file holding its
// name, then writes the settings file with registered followed by
// unregistered (items whose menu entry is missing). Items is left empty.
// Failures are reported as test failures.
void WriteTestCatalogue(const std::vector<ItemRecord>& registered,
                        const std::vector<ItemRecord>& unregistered = {});

// A message-only window of its own class (registered on first use) with
// userData in GWLP_USERDATA: the tests use one to run steps from timers
// inside the modal loops of dialogs.
HWND CreateRelayWindow(const char* className, WNDPROC procedure, void* userData);

// Alt and a letter pressed on the focused control, as the message loop of
// window (a dialog or the main window) passes it through the dialog manager.
void PressAccessKey(HWND window, char letter);

// The screen's pixels per inch, across and down, as the windows scale their
// layouts in twips by them.
struct ScreenDpi {
  int x = 96, y = 96;
};
ScreenDpi GetScreenDpi();

// The main window over the current UserFolder, shown and in front, as the
// program shows it at start; nullptr when it could not be made.
HWND OpenTestMainWindow();
