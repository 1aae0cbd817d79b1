// Times the catalogue's work on its settings file against the least the same
// work can cost, pair by pair (bench/paired_timing.h), for catalogues of a few
// sizes: SaveItems against writing the same bytes in one call, LoadItems
// against reading them in one call, and for 1,000 items the import of an
// item file (checks, a script and a menu entry per item, one save) against
// the load of the same catalogue. Each run's result is checked after the
// clock has stopped. Run under Wine by bench/run.sh, and with --smoke by the
// test run (bench/bench_run.h).
//
// A new pair goes into the list in main(): what Orbisk does and the direct
// way of the same, each with its check.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_run.h"
#include "bench/paired_timing.h"
#include "catalogue/item_record.h"
#include "catalogue/item_sort.h"
#include "catalogue/item_store.h"
#include "catalogue/item_transfer.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/registry.h"
#include "catalogue/settings_file.h"
#include "catalogue/settings_format.h"
#include "common/atomic_file.h"
#include "common/module_path.h"
#include "common/win_handles.h"
#include "mainwindow/item_exchange.h"
#include "tests/harness/item_records.h"

namespace {

template <typename F>
double Time(F work) {
  const double start = Seconds();
  work();
  return Seconds() - start;
}

// The whole file in one call (the common reader); "" when it cannot be read.
std::string ReadWhole(const std::string& path) {
  std::string bytes;
  return ReadWholeFile(path, &bytes) ? bytes : std::string();
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD done = 0;
  return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
         done == bytes.size();
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

// One way of doing a piece of work: work() does it once and says whether it
// succeeded; check(), called after the clock has stopped, whether what it
// produced is right (and says why not).
struct Side {
  std::string name;  // as the table shows it
  std::function<bool()> work;
  std::function<bool()> check;
};

// Orbisk's way against the direct one, timed in turns.
struct Pair {
  Side orbisk, direct;
};

// The seconds one run of the side took, or -1 when it failed or came out wrong.
double TimedRun(const Side& side) {
  bool succeeded = false;
  const double seconds = Time([&] { succeeded = side.work(); });
  if (!succeeded) {
    Wrong(side.name + " failed");
    return -1;
  }
  return side.check() ? seconds : -1;
}

// Runs the pair and prints its row; false when any run failed or came out wrong.
bool Measure(const Pair& pair, int count, int pairs) {
  const PairedFigures f = MeasurePairs(
      pairs, [&] { return TimedRun(pair.direct); }, [&] { return TimedRun(pair.orbisk); });
  std::printf("%-7d %-18s %10.2f ms   %-24s %10.3f ms   ratio %8.1f", count, pair.orbisk.name.c_str(),
              f.medianB * 1000, pair.direct.name.c_str(), f.medianA * 1000, f.medianRatio);
  if (!f.ok) std::printf("   (%d runs failed)", f.failedRuns);
  std::printf("\n");
  return f.ok;
}

// Whether Items are the expected records, in order.
bool ItemsAre(const std::vector<ItemRecord>& expected) {
  if (Items.size() != expected.size())
    return Wrong(std::to_string(Items.size()) + " items instead of " + std::to_string(expected.size()));
  for (size_t i = 0; i < Items.size(); ++i) {
    if (!(Items[i] == expected[i]))
      return Wrong("item " + std::to_string(i) + " differs: " + Items[i].ItemName);
  }
  return true;
}

bool FileHolds(const std::string& path, const std::string& expected) {
  const std::string bytes = ReadWhole(path);
  if (bytes != expected)
    return Wrong(path + " holds " + std::to_string(bytes.size()) + " bytes, not the " +
                 std::to_string(expected.size()) + " expected");
  return true;
}

// The import of records from an item file into an empty catalogue, beside
// the load of the catalogue it makes. The load's check empties the
// catalogue again (after the clock), so that every import starts from none.
bool MeasureImport(const std::vector<ItemRecord>& records, int pairs) {
  const std::string file = UserFolder + "import-bench.ini";
  if (!WriteWhole(file, ExportFileText(records))) return Wrong("cannot write " + file);
  const std::string settings = SettingsFilePath();
  const std::string bytes = ReplaceIniSection("", kItemListSection, CatalogueEntries(records));
  const auto empty = [&] {
    for (const ItemRecord& item : records) RemoveStoredItem(item.ItemName);
    DeleteFileA(settings.c_str());
    Items.clear();
    return true;
  };
  const Pair pair = {
      {"ImportItems",
       [&] {
         const ImportOutcome outcome = ImportItems(file, nullptr, true);
         return outcome.problem.empty() || Wrong(outcome.problem);
       },
       [&] { return ItemsAre(records) && FileHolds(settings, bytes); }},
      {"LoadItems of the same",
       [] {
         LoadItems();
         return true;
       },
       [&] { return ItemsAre(records) && empty(); }},
  };
  // The catalogue the first load reads.
  empty();
  if (!ImportItems(file, nullptr, true).problem.empty()) return Wrong("the first import failed");
  const bool right = Measure(pair, static_cast<int>(records.size()), pairs);
  empty();
  DeleteFileA(file.c_str());
  return right;
}

}  // namespace

int main(int argc, char** argv) {
  const BenchRun run = StartBench(argc, argv);
  UserFolder = GetProgramFolder() + "bench-user\\";
  if (!EnsureFolder(UserFolder)) {
    std::printf("cannot make %s\n", UserFolder.c_str());
    return EndBench(false);
  }
  const std::string path = SettingsFilePath();
  const std::string directPath = path + ".direct";
  std::printf(
      "%d pairs of runs each, under Wine; the ratio is the median of Orbisk / direct over the pairs.\n",
      run.pairs);
  bool allRight = true;
  for (const int count : run.smoke ? std::vector<int>{32, 1000} : std::vector<int>{32, 1000, 10000}) {
    // The catalogue, sorted as LoadItems sorts it, so that a load gives back
    // the very list that was saved.
    Items.clear();
    for (int n = 0; n < count; ++n) {
      Items.push_back(Sample(n));
      RegisterMenuEntry(Items.back().ItemName, Items.back().FixedString, {true, false, false, false});
    }
    SortItems(0, ItemCount() - 1);
    const std::vector<ItemRecord> catalogue = Items;
    // What SaveItems writes into a file that holds nothing else.
    const std::string bytes = ReplaceIniSection("", kItemListSection, CatalogueEntries(catalogue));
    // The direct side's file, whichever pair comes first.
    DeleteFileA(path.c_str());
    if (!WriteWhole(directPath, bytes)) allRight = Wrong("cannot write " + directPath);
    std::string read;

    const std::vector<Pair> pairs = {
        {{"SaveItems", [] { return SaveItems(); }, [&] { return FileHolds(path, bytes); }},
         {"WriteFile of its bytes", [&] { return WriteWhole(directPath, bytes); },
          [&] { return FileHolds(directPath, bytes); }}},
        // Items is the list again after each load.
        {{"LoadItems",
          [] {
            LoadItems();
            return true;
          },
          [&] { return ItemsAre(catalogue); }},
         {"ReadFile of its bytes", [&] { return !(read = ReadWhole(directPath)).empty(); },
          [&] { return read == bytes || Wrong("ReadFile gave other bytes"); }}},
    };
    for (const Pair& pair : pairs) allRight &= Measure(pair, count, run.pairs);

    for (const ItemRecord& item : catalogue)
      DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey(item.ItemName));

    if (count == 1000) {
      // Items an import takes: their application must exist.
      const std::string application = GetProgramFolder() + "catalogue_bench.exe";
      std::vector<ItemRecord> importable = catalogue;
      for (ItemRecord& item : importable) {
        if (!item.FixedString) item.AplPath = application;
      }
      allRight &= MeasureImport(importable, run.pairs);
    }
  }
  return EndBench(allRight);
}
