// Changes the catalogue the way Orbisk's edit dialog and Delete command do,
// for the browser tests: the script file, the menu entry in the registry and
// the settings file, with the catalogue library Orbisk itself uses. Copied
// into the test's program folder as Orbisk.exe, it reads and writes the same
// files as Orbisk started from there.
//   Orbisk.exe add <name> launcher <application> <template> <contexts> <style> <confirm>
//   Orbisk.exe add <name> fixed <text>
//   Orbisk.exe delete <name>
// <contexts> is four 0/1 digits: normal, image, link, selection. Texts come
// in UTF-16 and are stored in code page 932, as typed into Orbisk. Exit code
// 0 on success.
#include <windows.h>

#include <algorithm>
#include <array>
#include <string>

#include "catalogue/fixed_string_script.h"
#include "catalogue/item_record.h"
#include "catalogue/item_sort.h"
#include "catalogue/launcher_script.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "common/wide_text.h"
#include "tests/harness/item_records.h"

namespace {

int FindItem(const std::string& name) {
  const auto found =
      std::find_if(Items.begin(), Items.end(), [&](const ItemRecord& r) { return r.ItemName == name; });
  return found == Items.end() ? -1 : static_cast<int>(found - Items.begin());
}

bool Remove(const std::string& name) {
  const int index = FindItem(name);
  if (index < 0) return false;
  DeleteScriptFile(index);
  UnregisterMenuEntry(index);
  Items.erase(Items.begin() + index);
  return true;
}

bool Add(ItemRecord record) {
  if (FindItem(record.ItemName) >= 0) Remove(record.ItemName);
  std::array<bool, 4> contexts{};
  for (size_t i = 0; i < contexts.size(); ++i) contexts[i] = record.Contexts[i] != 0;
  const bool written = record.FixedString
                           ? WriteFixedStringScript(record.ItemName, record.Argments)
                           : WriteLauncherScript(record.ItemName, record.AplPath, record.Argments,
                                                 record.WindowStyle, record.ConfCmdLine != 0);
  if (!written || !RegisterMenuEntry(record.ItemName, record.FixedString != 0, contexts)) return false;
  Items.push_back(record);
  SortItems(0, ItemCount() - 1);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  UserFolder = GetUserFolder();
  if (!EnsureFolder(UserFolder)) return 3;
  LoadItems();
  const std::wstring command = argc > 1 ? argv[1] : L"";
  bool done = false;
  if (command == L"delete" && argc == 3) {
    done = Remove(ToAnsi(argv[2]));
  } else if (command == L"add" && argc == 5 && std::wstring(argv[3]) == L"fixed") {
    done = Add(FixedStringRecord(ToAnsi(argv[2]), ToAnsi(argv[4])));
  } else if (command == L"add" && argc == 9 && std::wstring(argv[3]) == L"launcher" && wcslen(argv[6]) == 4) {
    ItemContexts contexts{};
    for (size_t i = 0; i < contexts.size(); ++i) contexts[i] = argv[6][i] == L'1';
    ItemRecord record = LauncherRecord(ToAnsi(argv[2]), ToAnsi(argv[4]), ToAnsi(argv[5]), contexts,
                                       static_cast<int16_t>(_wtoi(argv[7])));
    record.ConfCmdLine = static_cast<int16_t>(_wtoi(argv[8]));
    done = Add(record);
  } else {
    return 2;
  }
  return done && SaveItems() ? 0 : 1;
}
