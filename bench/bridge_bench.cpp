// The browser bridge's host, timed pair by pair against the least the same
// work can cost:
//   - a pick that starts a program, from the message sent to the "started"
//     answer, against creating the same process with the same command line;
//   - a list of 32 and of 1,000 items, from the message sent to the answer,
//     against reading the settings file in one call.
// The host runs as a browser runs it, on pipes, its port open throughout.
// Every run is checked: the program got the command line the host's own rule
// makes of the pick, the list names every item. Run under Wine by
// bench/run.sh, and with --smoke by the test run (bench/bench_run.h).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_run.h"
#include "bench/paired_timing.h"
#include "bridge/host/command_line.h"
#include "catalogue/item_record.h"
#include "catalogue/menu_registration.h"
#include "catalogue/page_facts.h"
#include "catalogue/program_paths.h"
#include "catalogue/registry.h"
#include "catalogue/settings_format.h"
#include "catalogue/substitution.h"
#include "common/atomic_file.h"
#include "common/wide_text.h"
#include "common/win_handles.h"
#include "tests/harness/build_output.h"
#include "tests/harness/host_connection.h"
#include "tests/harness/item_records.h"
#include "tests/harness/recorded_starts.h"
#include "tests/harness/utf8_text.h"

namespace {

ItemRecord Item(int n, const std::string& application) {
  return LauncherRecord("ベンチ項目 " + std::to_string(100000 + (n * 7919) % 100000), application,
                        "\"<TU>\" <TT2> <ST>", {1, 0, 1, 1});
}

// Registers the items and writes Orbisk's settings file; what it holds.
std::string WriteCatalogue(const std::vector<ItemRecord>& items) {
  for (const ItemRecord& item : items) RegisterMenuEntry(item.ItemName, false, {true, false, true, true});
  const std::string bytes = ReplaceIniSection("", kItemListSection, CatalogueEntries(items));
  if (!WriteFileAtomically(UserFolder + "Orbisk.ini", bytes)) return "";
  return bytes;
}

void Unregister(const std::vector<ItemRecord>& items) {
  for (const ItemRecord& item : items) DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey(item.ItemName));
}

// The seconds a read of the whole file in one call took, or -1 when it did
// not give the expected bytes.
double ReadWholeFileTimed(const std::string& path, const std::string& expected) {
  const double start = Seconds();
  UniqueFile file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return -1;
  const DWORD size = GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE) return -1;
  std::string bytes(size, '\0');
  DWORD got = 0;
  const bool ok = ReadFile(file.get(), bytes.data(), size, &got, nullptr) && got == size;
  const double elapsed = Seconds() - start;
  if (!ok || bytes != expected) {
    Wrong("reading " + path + " gave other bytes");
    return -1;
  }
  return elapsed;
}

void Print(const char* what, const char* against, const PairedFigures& f) {
  std::printf("%-22s median %8.3f ms   %-28s median %8.3f ms   ratio %7.1f", what, f.medianB * 1000, against,
              f.medianA * 1000, f.medianRatio);
  if (!f.ok) std::printf("   (%d runs failed)", f.failedRuns);
  std::printf("\n");
}

std::u16string Utf16(const std::string& ansi) {
  const std::wstring wide = ToWide(ansi);
  return std::u16string(wide.begin(), wide.end());
}

// The line the host starts the program with for the pick: the host's own
// rule (BuildCommandLine) on its own substitution, so that the expectation
// follows the rule wherever it goes. The bench's template reads no clock.
// "" when the host would refuse the pick.
std::wstring HostsLineFor(const ItemRecord& item, const PageFacts16& facts) {
  const CommandLine line =
      BuildCommandLine(Utf16(item.AplPath), ProgramKind::Program,
                       SubstituteArgumentsAsData(Utf16(item.Argments), facts, [] { return LocalTime{}; }));
  if (line.refusal != LineRefusal::None) return L"";
  return std::wstring(line.text.begin(), line.text.end());
}

// Whether the recorder logged exactly one start, with the line.
bool StartedOnceWith(const std::vector<RecordedStart>& starts, const std::wstring& line) {
  if (starts.size() != 1) return Wrong("the program was started " + std::to_string(starts.size()) + " times");
  if (starts[0].wideCommandLine != line)
    return Wrong("the program got " + ToAnsi(starts[0].wideCommandLine) + "\n         instead of " +
                 ToAnsi(line));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const BenchRun run = StartBench(argc, argv);
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  const std::string folder = std::string(temp) + "orbisk-bridge-bench\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string host = folder + "OrbiskHost.exe";
  const std::string recorder = folder + "recorder.exe";
  UserFolder = UserFolderFor(folder, GetLoginName());
  if (!CopyFileA(BuildOutputPath(ORBISK_HOST_EXE).c_str(), host.c_str(), FALSE) ||
      !InstallRecorder(recorder) || !EnsureFolder(UserFolder)) {
    std::printf("cannot set up the host, the recorder and the user folder in %s\n", folder.c_str());
    return EndBench(false);
  }

  std::printf("%d pairs of runs each, under Wine; the ratio is the median of host / direct over the pairs.\n",
              run.pairs);
  bool allRight = true;

  // A pick that starts the recorder, against starting it directly with the
  // line the host makes.
  {
    const std::vector<ItemRecord> items = {Item(0, recorder)};
    if (WriteCatalogue(items).empty()) allRight = Wrong("cannot write the settings file");
    HostConnection connection(host, OrbiskOrigin());
    if (!connection.Started()) allRight = Wrong("the host did not start: " + connection.Failure());
    // The page's values, in code page 932 here; a blank in a value makes the
    // host quote it.
    const std::pair<Fact, std::string> pageFacts[] = {
        {Fact::TopUrl, "http://www.example.jp/bench?q=1&r=2"},
        {Fact::TopTitle, "Bench: title/of \"page\""},
        {Fact::SelectionText, "  selected text  "},
    };
    PageFacts16 facts;
    nlohmann::json factsJson = nlohmann::json::object();
    for (const auto& [fact, text] : pageFacts) {
      facts[fact] = Utf16(text);
      factsJson[FactName(fact)] = Utf8(text);
    }
    const nlohmann::json pick = {{"type", "pick"}, {"name", Utf8(items[0].ItemName)}, {"facts", factsJson}};
    const std::wstring commandLine = HostsLineFor(items[0], facts);
    if (commandLine.empty()) allRight = Wrong("the host's rule refuses the bench's pick");
    const std::wstring wideRecorder = ToWide(recorder), wideFolder = ToWide(folder);
    const auto direct = [&]() -> double {
      InstallRecorder(recorder);  // and no record
      STARTUPINFOW startup = {};
      startup.cb = sizeof startup;
      startup.dwFlags = STARTF_USESHOWWINDOW;
      startup.wShowWindow = SW_SHOWNORMAL;
      UniqueProcessInformation process;
      std::wstring line = commandLine;  // CreateProcessW may write into it
      const double start = Seconds();
      const bool ok = CreateProcessW(wideRecorder.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     wideFolder.c_str(), &startup, process.put());
      const double elapsed = Seconds() - start;
      if (!ok) {
        Wrong("CreateProcess of the recorder failed, error " + std::to_string(GetLastError()));
        return -1;
      }
      WaitForSingleObject(process.process(), 10000);
      return StartedOnceWith(RecordedStarts(recorder), commandLine) ? elapsed : -1;
    };
    const auto viaHost = [&]() -> double {
      InstallRecorder(recorder);  // and no record
      const double start = Seconds();
      const auto answer = connection.Ask(pick);
      const double elapsed = Seconds() - start;
      if (!answer || (*answer)["type"] != "started") {
        Wrong("the host answered " + (answer ? answer->dump() : std::string("nothing")));
        return -1;
      }
      return StartedOnceWith(WaitForRecordedStarts(recorder, 1, 5000), commandLine) ? elapsed : -1;
    };
    const PairedFigures figures = MeasurePairs(run.pairs, direct, viaHost);
    Print("pick, program started", "CreateProcess of it", figures);
    allRight &= figures.ok;
    Unregister(items);
  }

  // A list, against reading the settings file in one call.
  for (const int count : run.smoke ? std::vector<int>{32} : std::vector<int>{32, 1000}) {
    std::vector<ItemRecord> items;
    std::vector<std::string> names;
    for (int n = 0; n < count; ++n) {
      items.push_back(Item(n, recorder));
      names.push_back(Utf8(items.back().ItemName));
    }
    std::sort(names.begin(), names.end());
    const std::string settings = WriteCatalogue(items);
    if (settings.empty()) allRight = Wrong("cannot write the settings file");
    HostConnection connection(host, OrbiskOrigin());
    const auto viaHost = [&]() -> double {
      const double start = Seconds();
      const auto answer = connection.Ask({{"type", "list"}});
      const double elapsed = Seconds() - start;
      if (!answer || (*answer)["type"] != "items") {
        Wrong("the host answered " + (answer ? answer->dump() : std::string("nothing")));
        return -1;
      }
      std::vector<std::string> listed;
      for (const auto& item : (*answer)["items"]) listed.push_back(item.value("name", ""));
      std::sort(listed.begin(), listed.end());
      if (listed != names) {
        Wrong("the host listed " + std::to_string(listed.size()) + " items, not the " +
              std::to_string(names.size()) + " of the settings file");
        return -1;
      }
      return elapsed;
    };
    const std::string what = "list of " + std::to_string(count) + " items";
    const PairedFigures figures = MeasurePairs(
        run.pairs, [&] { return ReadWholeFileTimed(UserFolder + "Orbisk.ini", settings); }, viaHost);
    Print(what.c_str(), "reading the file in one call", figures);
    allRight &= figures.ok;
    Unregister(items);
  }
  return EndBench(allRight);
}
