#include "tests/harness/test_folder.h"

#include <windows.h>

#include "catalogue/item_record.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "common/win_handles.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/win_test_util.h"

std::set<std::string> MenuExtSubkeys() {
  std::set<std::string> names;
  UniqueRegKey key;
  std::string path = kMenuExtKey;
  path.pop_back();
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
  for (DWORD i = 0;; ++i) {
    char name[512];
    DWORD size = sizeof name;
    if (RegEnumKeyExA(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.insert(std::string(name, size));
  }
  return names;
}

// From MenuExt itself: the whole path below the hive can be longer than the
// ANSI registry functions take.
void DeleteMenuExtSubkey(const std::string& name) {
  if (name.empty()) return;  // that would be MenuExt itself
  std::string path = kMenuExtKey;
  path.pop_back();
  UniqueRegKey menuExt;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, menuExt.put()) != ERROR_SUCCESS) return;
  RegDeleteTreeA(menuExt.get(), name.c_str());
  RegDeleteKeyA(menuExt.get(), name.c_str());
}

void WineTest::SetUp() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name) {
    if (c == '/' || c == '\\' || c == ':') c = '_';
  }
  programFolder_ = std::string(temp) + "orbisk-tests\\" + name + "\\";
  ASSERT_TRUE(DeleteTree(programFolder_)) << programFolder_;
  UserFolder = UserFolderFor(programFolder_, GetLoginName());
  ASSERT_TRUE(EnsureFolder(UserFolder)) << UserFolder;
  Items.clear();
  menuExtBefore_ = MenuExtSubkeys();
}

void WineTest::TearDown() {
  StopMessageBoxWatcher();
  for (const std::string& name : MenuExtSubkeys()) {
    if (menuExtBefore_.count(name) == 0) DeleteMenuExtSubkey(name);
  }
  Items.clear();
}
