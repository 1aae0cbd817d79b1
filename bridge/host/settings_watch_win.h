// Watches the folder of Orbisk's settings file on a thread of its own, so
// that the host can tell an open port about a changed list unasked.
#pragma once

#include <functional>
#include <string>
#include <thread>

#include "common/win_handles.h"

class SettingsWatcher {
 public:
  // onChange runs on the watcher's thread: once as soon as the watch is in
  // place, so that a save made while it was being set up is not missed, and
  // then whenever a change in the settings file's folder has been followed by
  // a short quiet spell (a save is several file operations), or the file's
  // size or time is seen to differ.
  // When the folder does not exist yet, everything below fallbackFolder is
  // watched instead.
  SettingsWatcher(std::string settingsFile, std::string fallbackFolder, std::function<void()> onChange);
  ~SettingsWatcher();  // stops the thread and waits for it
  SettingsWatcher(const SettingsWatcher&) = delete;
  SettingsWatcher& operator=(const SettingsWatcher&) = delete;

  // False when neither folder can be watched.
  bool Start();

 private:
  void Run(HANDLE change);

  std::string settingsFile_, folder_, fallbackFolder_;
  std::function<void()> onChange_;
  UniqueHandle stop_;
  std::thread thread_;
};
