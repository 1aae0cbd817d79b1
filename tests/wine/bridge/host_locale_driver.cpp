// Writes the catalogue that OrbiskHost.exe reads, for the test that runs the
// host under another system locale (foreign_locale_host_test.sh): one item
// that starts application with the page's title in quotes.
//   host_locale_driver <program folder\> <application>
#include <windows.h>

#include <array>
#include <cstdio>
#include <string>

#include "catalogue/item_record.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: host_locale_driver <program folder\\> <application>\n");
    return 2;
  }
  UserFolder = UserFolderFor(argv[1], GetLoginName());
  if (!EnsureFolder(UserFolder)) return 1;
  ItemRecord item;
  item.ItemName = "Item";
  item.AplPath = argv[2];
  item.Argments = "\"<TT>\" x";
  item.Contexts = {1, 0, 0, 0};
  Items = {item};
  if (!RegisterMenuEntry(item.ItemName, false, std::array<bool, 4>{true, false, false, false})) return 1;
  if (!SaveItems()) return 1;
  // Saved under this program's name; the host reads Orbisk's.
  return MoveFileExA(SettingsFilePath().c_str(), (UserFolder + "Orbisk.ini").c_str(),
                     MOVEFILE_REPLACE_EXISTING)
             ? 0
             : 1;
}
