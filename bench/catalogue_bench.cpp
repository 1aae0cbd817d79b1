// Times LoadItems and SaveItems against reading and writing the same file
// bytes directly in one call. Run under Wine by bench/run.sh; prints figures.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/seconds.h"
#include "catalogue/item_record.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/registry.h"
#include "catalogue/settings_file.h"
#include "common/module_path.h"
#include "common/win_handles.h"
#include "tests/harness/item_records.h"

namespace {

template <typename F>
double Time(F work) {
  const double start = Seconds();
  work();
  return Seconds() - start;
}

std::string ReadWhole(const std::string& path) {
  UniqueFile file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes(GetFileSize(file.get(), nullptr), '\0');
  DWORD got = 0;
  ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  return bytes;
}

void WriteWhole(const std::string& path, const std::string& bytes) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD done = 0;
  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
}

ItemRecord Sample(int n) {
  const std::string name = "ベンチ項目 " + std::to_string(100000 + (n * 7919) % 100000);
  const std::string argments = n % 3 ? "\"<TU>\" <TT> <Y4>/<M2>/<D2>" : "<ST>";
  ItemRecord r = n % 5 == 0
                     ? FixedStringRecord(name, argments)
                     : LauncherRecord(name, "C:\\Program Files\\Viewer\\viewer.exe", argments, {1, 0, 1, 1});
  r.Comment = "コメント\r\n二行目 " + std::to_string(n);
  return r;
}

}  // namespace

int main() {
  UserFolder = GetProgramFolder() + "bench-user\\";
  EnsureFolder(UserFolder);
  printf("%-8s %12s %12s %8s %12s %12s %8s\n", "items", "save ms", "write ms", "ratio", "load ms", "read ms",
         "ratio");
  for (const int count : {32, 1000, 10000}) {
    Items.clear();
    for (int n = 0; n < count; ++n) {
      Items.push_back(Sample(n));
      RegisterMenuEntry(Items.back().ItemName, Items.back().FixedString, {true, false, false, false});
    }
    const std::string path = SettingsFilePath();
    DeleteFileA(path.c_str());
    const double save = Time([] { SaveItems(); });
    const std::string bytes = ReadWhole(path);
    const double write = Time([&] { WriteWhole(path + ".direct", bytes); });
    const double load = Time([] { LoadItems(); });
    const double read = Time([&] { ReadWhole(path + ".direct"); });
    printf("%-8d %12.2f %12.3f %8.1f %12.2f %12.3f %8.1f   (%d loaded, %zu bytes)\n", count, save * 1000,
           write * 1000, save / write, load * 1000, read * 1000, load / read, ItemCount(), bytes.size());
    for (int i = 0; i < ItemCount(); ++i)
      DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey(Items[i].ItemName));
  }
  return 0;
}
