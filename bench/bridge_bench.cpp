// The browser bridge's host, timed pair by pair against the least the same
// work can cost:
//   - a pick that starts a program, from the message sent to the "started"
//     answer, against creating the same process with the same command line;
//   - a list of 32 and of 1,000 items, from the message sent to the answer,
//     against reading the settings file in one call.
// The host runs as a browser runs it, on pipes, its port open throughout.
// Run under Wine by bench/run.sh; prints figures.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/paired_timing.h"
#include "catalogue/item_record.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/registry.h"
#include "catalogue/settings_format.h"
#include "common/atomic_file.h"
#include "common/win_handles.h"
#include "tests/harness/build_output.h"
#include "tests/harness/host_connection.h"
#include "tests/harness/item_records.h"
#include "tests/harness/recorded_starts.h"
#include "tests/harness/utf8_text.h"

namespace {

constexpr int kPairs = 20;

ItemRecord Item(int n, const std::string& application) {
  return LauncherRecord("ベンチ項目 " + std::to_string(100000 + (n * 7919) % 100000), application,
                        "\"<TU>\" <TT2> <ST>", {1, 0, 1, 1});
}

// Registers the items and writes Orbisk's settings file; its path.
std::string WriteCatalogue(const std::vector<ItemRecord>& items) {
  for (const ItemRecord& item : items) RegisterMenuEntry(item.ItemName, false, {true, false, true, true});
  const std::string path = UserFolder + "Orbisk.ini";
  WriteFileAtomically(path, ReplaceIniSection("", kItemListSection, CatalogueEntries(items)));
  return path;
}

void Unregister(const std::vector<ItemRecord>& items) {
  for (const ItemRecord& item : items) DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey(item.ItemName));
}

double ReadWholeFileTimed(const std::string& path) {
  const double start = Seconds();
  UniqueFile file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return -1;
  std::string bytes(GetFileSize(file.get(), nullptr), '\0');
  DWORD got = 0;
  const bool ok = ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                  got == bytes.size();
  return ok ? Seconds() - start : -1;
}

void Print(const char* what, const char* against, const PairedFigures& f) {
  std::printf("%-22s median %8.3f ms   %-26s median %8.3f ms   ratio %7.1f%s\n", what, f.medianB * 1000,
              against, f.medianA * 1000, f.medianRatio, f.ok ? "" : "  (some runs failed)");
}

}  // namespace

int main() {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  const std::string folder = std::string(temp) + "orbisk-bridge-bench\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string host = folder + "OrbiskHost.exe";
  const std::string recorder = folder + "recorder.exe";
  CopyFileA(BuildOutputPath(ORBISK_HOST_EXE).c_str(), host.c_str(), FALSE);
  InstallRecorder(recorder);
  UserFolder = UserFolderFor(folder, GetLoginName());
  EnsureFolder(UserFolder);

  std::printf("%d pairs of runs each, under Wine; the ratio is the median of host / direct over the pairs.\n",
              kPairs);

  // A pick that starts the recorder, against starting it directly.
  {
    const std::vector<ItemRecord> items = {Item(0, recorder)};
    WriteCatalogue(items);
    HostConnection connection(host, OrbiskOrigin());
    const std::string name = Utf8(items[0].ItemName);
    const nlohmann::json pick = {{"type", "pick"},
                                 {"name", name},
                                 {"facts",
                                  {{"topUrl", "http://www.example.jp/bench?q=1&r=2"},
                                   {"topTitle", "Bench: title/of \"page\""},
                                   {"selectionText", "  selected text  "}}}};
    const std::string commandLine =
        "\"" + recorder + "\" \"http://www.example.jp/bench?q=1&r=2\" Bench： title／of ”page” selected text";
    const auto direct = [&]() -> double {
      InstallRecorder(recorder);  // and no record
      STARTUPINFOA startup = {};
      startup.cb = sizeof startup;
      startup.dwFlags = STARTF_USESHOWWINDOW;
      startup.wShowWindow = SW_SHOWNORMAL;
      UniqueProcessInformation process;
      std::string line = commandLine;
      const double start = Seconds();
      const bool ok = CreateProcessA(recorder.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     folder.c_str(), &startup, process.put());
      const double elapsed = Seconds() - start;
      if (!ok) return -1;
      WaitForSingleObject(process.process(), 10000);
      return elapsed;
    };
    const auto viaHost = [&]() -> double {
      InstallRecorder(recorder);  // and no record
      const double start = Seconds();
      const auto answer = connection.Ask(pick);
      const double elapsed = Seconds() - start;
      if (!answer || (*answer)["type"] != "started" || WaitForRecordedStarts(recorder, 1, 5000).size() != 1)
        return -1;
      return elapsed;
    };
    Print("pick, program started", "CreateProcess of it", MeasurePairs(kPairs, direct, viaHost));
    const std::vector<RecordedStart> starts = RecordedStarts(recorder);
    if (starts.size() != 1 || starts[0].commandLine != commandLine)
      std::printf("  but the program got another command line: the figures mean nothing\n");
    Unregister(items);
  }

  // A list, against reading the settings file in one call.
  for (const int count : {32, 1000}) {
    std::vector<ItemRecord> items;
    for (int n = 0; n < count; ++n) items.push_back(Item(n, recorder));
    const std::string settings = WriteCatalogue(items);
    HostConnection connection(host, OrbiskOrigin());
    size_t listed = 0;
    const auto viaHost = [&]() -> double {
      const double start = Seconds();
      const auto answer = connection.Ask({{"type", "list"}});
      const double elapsed = Seconds() - start;
      if (!answer || (*answer)["type"] != "items") return -1;
      listed = (*answer)["items"].size();
      return elapsed;
    };
    const std::string what = "list of " + std::to_string(count) + " items";
    Print(what.c_str(), "reading the file in one call",
          MeasurePairs(
              kPairs, [&] { return ReadWholeFileTimed(settings); }, viaHost));
    if (listed != items.size())
      std::printf("  but %zu items were listed: the figures mean nothing\n", listed);
    Unregister(items);
  }
  return 0;
}
