// What the host's tests under Wine share: the real OrbiskHost.exe in the
// test's program folder, the recorder as the items' application, and
// Orbisk's catalogue written and registered as Orbisk writes it.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/item_record.h"
#include "tests/harness/host_connection.h"
#include "tests/harness/item_records.h"
#include "tests/harness/test_folder.h"

// A launcher item of every context but links.
ItemRecord LauncherItem(const std::string& name, const std::string& path, const std::string& argments,
                        int style = 1, bool confirm = false);

// Code page 932 to UTF-16 as the host converts.
std::u16string U16(const std::string& ansi);

// Every reading of the text after a program's name gives expected:
// CommandLineToArgvW's, and the C runtimes' old and new rules for quotes in
// a row.
void ExpectEveryWideReadingGives(std::u16string_view arguments, const std::vector<std::u16string>& expected,
                                 const std::string& what);

class HostFixture : public WineTest {
 protected:
  void SetUp() override;

  // Orbisk's settings file with these items, each registered unless named
  // in unregistered, saved the way Orbisk saves it.
  void WriteCatalogue(const std::vector<ItemRecord>& items, const std::set<std::string>& unregistered = {});

  std::unique_ptr<HostConnection> Connect(const std::string& arguments = OrbiskOrigin(), DWORD jobLimits = 0);

  // Picks the one item with these facts and returns the answer; the host
  // then ends, so that whatever it started has been started.
  nlohmann::json PickOnce(const ItemRecord& item, const nlohmann::json& facts);

  // The arguments the recorder at path got in its one start, after its own
  // name, split by CommandLineToArgvW; nothing when it was not started.
  static std::vector<std::wstring> ArgumentsOfTheStart(const std::string& path);

  // A pick message for the item (name in code page 932).
  static nlohmann::json Pick(const std::string& name, const nlohmann::json& facts = nlohmann::json::object());

  std::string host_, app_;  // the host, and the recorder as an application
};
