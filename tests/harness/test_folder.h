// Base fixture of the Windows tests: a fresh program folder per test, with
// UserFolder pointing below it, and removal of every MenuExt key the test made.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>

class WineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The test's own program folder, ending in a backslash; empty at start.
  const std::string& ProgramFolder() const { return programFolder_; }

 private:
  std::string programFolder_;
  std::set<std::string> menuExtBefore_;
};

// Names of the subkeys of the MenuExt key, in code page 932.
std::set<std::string> MenuExtSubkeys();

// Deletes a MenuExt subkey with everything in it.
void DeleteMenuExtSubkey(const std::string& name);
