// The real Orbisk.exe, copied into the test's program folder, started as a
// user starts it and driven from outside: its windows by messages, its
// command line by its exit code and output.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "catalogue/item_record.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "common/wide_text.h"
#include "common/win_handles.h"
#include "mainwindow/main_window.h"
#include "mainwindow/resource.h"
#include "tests/harness/build_output.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/waiting.h"
#include "tests/harness/window_search.h"
#include "tests/wine/mainwindow/main_window_fixture.h"

class RealProgram : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    exe_ = ProgramFolder() + "Orbisk.exe";
    ASSERT_TRUE(CopyFileA(BuildOutputPath(ORBISK_APP_EXE).c_str(), exe_.c_str(), FALSE)) << ORBISK_APP_EXE;
  }

  void TearDown() override {
    for (const UniqueHandle& process : processes_) {
      if (WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) TerminateProcess(process.get(), 1);
      WaitForSingleObject(process.get(), 5000);
    }
    processes_.clear();
    WineTest::TearDown();
  }

  // The settings file of Orbisk.exe (named after the program) and the entries.
  void WriteCatalogue(const std::vector<std::string>& registered,
                      const std::vector<std::string>& unregistered) {
    Items.clear();
    for (const std::string& name : registered) {
      ASSERT_TRUE(RegisterMenuEntry(name, false, {true, false, false, false}));
      Items.push_back(LauncherItem(name));
    }
    for (const std::string& name : unregistered) Items.push_back(LauncherItem(name));
    ASSERT_TRUE(SaveItems());
    Items.clear();
    ASSERT_TRUE(MoveFileExA(SettingsFilePath().c_str(), OrbiskSettings().c_str(), MOVEFILE_REPLACE_EXISTING));
  }

  std::string OrbiskSettings() const { return UserFolder + "Orbisk.ini"; }

  // Starts the program with arguments after its quoted path; with output,
  // its standard output goes into that file.
  HANDLE Start(const std::string& arguments = "", const std::string& output = "") {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    UniqueFile outputFile;
    if (!output.empty()) {
      SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
      outputFile.reset(CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!outputFile) return nullptr;
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdOutput = outputFile.get();
      startup.hStdError = outputFile.get();
    }
    UniqueProcessInformation process;
    std::string command = "\"" + exe_ + "\"" + (arguments.empty() ? "" : " " + arguments);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, !output.empty(), 0, nullptr,
                        ProgramFolder().c_str(), &startup, process.put())) {
      return nullptr;
    }
    processes_.emplace_back(process.releaseProcess());
    return processes_.back().get();
  }

  // The main window of the process, waiting for it to appear: a window of
  // another process, which nothing announces to this one.
  static HWND MainWindowOf(HANDLE process, DWORD timeoutMs = 15000) {
    const DWORD id = GetProcessId(process);
    HWND found = nullptr;
    WaitUntilPumping([&] { return (found = FindProcessWindow(id, kMainWindowClass, "Orbisk")) != nullptr; },
                     timeoutMs);
    return found;
  }

  // Lines of the other process's list: its text arrives as UTF-16 only.
  static std::vector<std::string> ListLinesOf(HWND window) {
    HWND list = GetDlgItem(window, IDC_LSTITEMS);
    std::vector<std::string> lines;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      const int length = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, i, 0));
      std::wstring line(length + 1, L'\0');
      line.resize(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data())));
      lines.push_back(ToAnsi(line));
    }
    return lines;
  }

  // Part 0 of the other process's status bar.
  static std::string ItemCountShown(HWND window) {
    char text[256] = {};
    SendMessageA(GetDlgItem(window, IDC_STATUSBAR), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
  }

  std::vector<std::string> FileNames(const std::string& path) const {
    std::vector<std::string> names;
    for (int n = 1;; ++n) {
      char value[512] = {};
      GetPrivateProfileStringA("ItemList", ("ItemName" + std::to_string(n)).c_str(), "", value, sizeof value,
                               path.c_str());
      if (!value[0]) break;
      names.push_back(value);
    }
    return names;
  }

  std::string exe_;
  std::vector<UniqueHandle> processes_;
};
