// Orbisk.exe /export and /import from the command line, as an administrator's
// script or a user's shortcut runs them: the real program in the test's
// program folder, its exit code and its report on standard output.
#include <windows.h>

#include "catalogue/item_sort.h"
#include "catalogue/item_transfer.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/registry.h"
#include "catalogue/settings_format.h"
#include "common/atomic_file.h"
#include "common/path_kind.h"
#include "tests/harness/item_records.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/mainwindow/real_program.h"

namespace {

class OrbiskCommandLine : public RealProgram {
 protected:
  // Runs the program to its end; its exit code, -1 when it did not end.
  int Run(const std::string& arguments) {
    output_ = ProgramFolder() + "output.txt";
    HANDLE process = Start(arguments, output_);
    if (!process || WaitForSingleObject(process, 30000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
  }

  std::string Output() const {
    std::string bytes;
    ReadWholeFile(output_, &bytes);
    return bytes;
  }

  std::string Settings() const {
    std::string bytes;
    ReadWholeFile(OrbiskSettings(), &bytes);
    return bytes;
  }

  std::string WriteItemFile(const std::vector<ItemRecord>& records) {
    const std::string path = ProgramFolder() + "チーム の項目.ini";
    EXPECT_TRUE(WriteFileAtomically(path, ExportFileText(records)));
    return path;
  }

  std::string output_;
};

TEST_F(OrbiskCommandLine, AQuietImportAddsNewItemsSkipsListedOnesAndReports) {
  WriteCatalogue({"Listed"}, {});
  const std::string app = ProgramFolder() + "viewer.exe";
  ASSERT_TRUE(WriteFileBytes(app, "MZ"));
  const std::string file =
      WriteItemFile({LauncherRecord("新しい項目", app, "\"<TU>\""), LauncherRecord("LISTED", app, "<TT>"),
                     LauncherRecord("Missing app", ProgramFolder() + "gone.exe", ""),
                     FixedStringRecord("挨拶", "こんにちは")});
  EXPECT_EQ(Run("/import \"" + file + "\" /quiet"), 0);
  EXPECT_EQ(Output(),
            "追加: 新しい項目\r\n追加: 挨拶\r\nスキップ（登録済み）: LISTED\r\n"
            "登録できず: Missing app: アプリケーションがみつかりません。\r\n"
            "インポート: 追加 2 件、置き換え 0 件、スキップ 1 件、登録できず 1 件\r\n");
  EXPECT_EQ(FileNames(OrbiskSettings()), (std::vector<std::string>{"Listed", "挨拶", "新しい項目"}));
  EXPECT_TRUE(IsMenuEntryRegistered("新しい項目"));
  EXPECT_EQ(GetPathKind(ScriptFilePath("挨拶")), PathKind::File);
  EXPECT_FALSE(IsMenuEntryRegistered("Missing app"));
  EXPECT_EQ(GetPathKind(ScriptFilePath("Missing app")), PathKind::Missing);
  // The listed item's own entry is untouched.
  const auto records = ReadCatalogueText(Settings(), IsMenuEntryRegistered, ItemNameLess);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0], LauncherItem("Listed"));
}

TEST_F(OrbiskCommandLine, AnApplicationNamedByEnvironmentVariablesIsTheImportingUsers) {
  WriteCatalogue({}, {});
  ASSERT_TRUE(WriteFileBytes(ProgramFolder() + "viewer.exe", "MZ"));
  // Set here, inherited by the program: a folder that differs from user to user.
  ASSERT_TRUE(SetEnvironmentVariableA("ORBISK_TEAM_TOOLS", ProgramFolder().c_str()));
  const std::string file =
      WriteItemFile({LauncherRecord("Team viewer", "%ORBISK_TEAM_TOOLS%viewer.exe", "<TU>"),
                     LauncherRecord("Unknown", "%ORBISK_NO_SUCH_VARIABLE%\\x.exe", ""),
                     // Found from the import's current folder (the program's
                     // here), which nothing starts the item from later.
                     LauncherRecord("Relative", ".\\viewer.exe", "")});
  EXPECT_EQ(Run("/import \"" + file + "\" /quiet"), 0);
  SetEnvironmentVariableA("ORBISK_TEAM_TOOLS", nullptr);
  EXPECT_EQ(
      Output(),
      "追加: Team viewer\r\n追加: Relative\r\n登録できず: Unknown: アプリケーションがみつかりません。\r\n"
      "インポート: 追加 2 件、置き換え 0 件、スキップ 0 件、登録できず 1 件\r\n");
  const auto records = ReadCatalogueText(Settings(), IsMenuEntryRegistered, ItemNameLess);
  ASSERT_EQ(records.size(), 2u);
  for (const ItemRecord& record : records)
    EXPECT_EQ(record.AplPath, ProgramFolder() + "viewer.exe") << record.ItemName;
}

TEST_F(OrbiskCommandLine, AnImportTakesOverNoMenuEntryOfAnotherProgram) {
  WriteCatalogue({}, {});
  const std::string foreign = std::string(kMenuExtKey) + "Foreign";
  const std::string dead = std::string(kMenuExtKey) + "Dead";
  DeleteRegistryKey(RegHive::CurrentUser, foreign);
  RegistryValue other;
  other.text = ProgramFolder() + "thing.htm";
  ASSERT_TRUE(WriteFileBytes(other.text, "<html>"));
  ASSERT_TRUE(WriteRegistryValue(RegHive::CurrentUser, foreign, "", kRegSz, other));
  // A key left of Orbisk's own item of the name, naming its script, is
  // Orbisk's to write again; so is one whose script is gone (its program
  // removed, Orbisk's folder moved).
  RegistryValue own;
  own.text = ScriptFilePath("Own");
  ASSERT_TRUE(WriteRegistryValue(RegHive::CurrentUser, std::string(kMenuExtKey) + "Own", "", kRegSz, own));
  RegistryValue gone;
  gone.text = ProgramFolder() + "moved\\Dead.html";
  ASSERT_TRUE(WriteRegistryValue(RegHive::CurrentUser, dead, "", kRegSz, gone));
  const std::string file = WriteItemFile(
      {FixedStringRecord("Foreign", "x"), FixedStringRecord("Own", "y"), FixedStringRecord("Dead", "z")});
  EXPECT_EQ(Run("/import \"" + file + "\" /quiet"), 0);
  EXPECT_EQ(Output(),
            "追加: Own\r\n追加: Dead\r\n登録できず: Foreign: "
            "同じ名前のメニュー項目がほかのプログラムによって登録されています。\r\n"
            "インポート: 追加 2 件、置き換え 0 件、スキップ 0 件、登録できず 1 件\r\n");
  EXPECT_EQ(ReadRegistryValue(RegHive::CurrentUser, foreign, "", kRegSz, RegistryValue{}).text, other.text);
  EXPECT_EQ(GetPathKind(ScriptFilePath("Foreign")), PathKind::Missing);
  EXPECT_EQ(ReadRegistryValue(RegHive::CurrentUser, dead, "", kRegSz, RegistryValue{}).text,
            ScriptFilePath("Dead"));
  EXPECT_EQ(FileNames(OrbiskSettings()), (std::vector<std::string>{"Dead", "Own"}));
  DeleteRegistryKey(RegHive::CurrentUser, foreign);
}

constexpr char kUsage[] =
    "使い方:\r\n  Orbisk.exe\r\n  Orbisk.exe /export <ファイル>\r\n  Orbisk.exe /import <ファイル> "
    "[/quiet]\r\n";

TEST_F(OrbiskCommandLine, ARefusedFileChangesNothing) {
  WriteCatalogue({"Listed"}, {});
  const std::string before = Settings();
  const std::string cut = ProgramFolder() + "cut.ini";
  const std::string text =
      ExportFileText({FixedStringRecord("One", "1"), LauncherRecord("Two", "C:\\x.exe", "")});
  ASSERT_TRUE(WriteFileAtomically(cut, text.substr(0, text.find("AplPath2"))));
  // One name twice as the registry and the file system see it: full-width
  // letters of either case make one key and one file.
  const std::string twice = ProgramFolder() + "twice.ini";
  ASSERT_TRUE(
      WriteFileAtomically(twice, ExportFileText({FixedStringRecord("One", "1"), FixedStringRecord("ｘ", "2"),
                                                 FixedStringRecord("Ｘ", "3")})));
  const std::string garbage = ProgramFolder() + "garbage.ini";
  ASSERT_TRUE(WriteFileAtomically(garbage, std::string("\x89PNG\r\n\x1A\n\0\0", 10)));
  const struct {
    std::string arguments, output;
    int code;
  } cases[] = {
      {"/import \"" + cut + "\" /quiet",
       "インポートできません: 項目 2「Two」にアプリケーションのパス (AplPath2) がありません。"
       "ファイルが途中で切れているおそれがあります。\r\n",
       1},
      {"/import \"" + garbage + "\" /quiet", "インポートできません: テキストのファイルではありません。\r\n",
       1},
      {"/import \"" + twice + "\" /quiet",
       "インポートできません: 項目名「Ｘ」がファイルの中に 2 度あります。\r\n", 1},
      {"/import \"" + ProgramFolder() + "none.ini\" /quiet",
       "インポートできません: ファイルを読み込めませんでした。\r\n", 1},
      // /quiet counts wherever it stands, and a quiet run that is wrongly
      // written gets the usage in its report, never a box nobody answers.
      {"-QUIET /import \"" + garbage + "\"", "インポートできません: テキストのファイルではありません。\r\n",
       1},
      {"/import /quiet", kUsage, 1},
      {"/quiet /import \"" + cut + "\" /force", kUsage, 1},
      {"/quiet \"" + cut + "\"", kUsage, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.arguments), c.code) << c.arguments;
    EXPECT_EQ(Output(), c.output);
    EXPECT_EQ(Settings(), before);
    EXPECT_FALSE(IsMenuEntryRegistered("One"));
    EXPECT_EQ(GetPathKind(ScriptFilePath("One")), PathKind::Missing);
  }
}

TEST_F(OrbiskCommandLine, ExportWritesTheCatalogueInTheSettingsFormat) {
  WriteCatalogue({"Zulu", "alpha"}, {"Dropped"});
  const std::string file = ProgramFolder() + "export.ini";
  EXPECT_EQ(Run("/export \"" + file + "\""), 0);
  std::string exported;
  ASSERT_TRUE(ReadWholeFile(file, &exported));
  // The registered items, sorted, exactly as the settings file would list them.
  EXPECT_EQ(exported, ExportFileText({LauncherItem("alpha"), LauncherItem("Zulu")}));
  // Into a folder that does not exist: a failure, said as such.
  EXPECT_EQ(Run("/export \"" + ProgramFolder() + "no\\such\\export.ini\""), 1);
  EXPECT_EQ(Output().rfind("ファイルに書き込めませんでした。", 0), 0u);
}

TEST_F(OrbiskCommandLine, AnImportWaitsForNoOpenWindowAndAnInteractiveOneEndsWithItsSummary) {
  WriteCatalogue({"Listed"}, {});
  const std::string file = WriteItemFile({FixedStringRecord("挨拶", "こんにちは")});
  HANDLE window = Start();
  ASSERT_TRUE(window);
  ASSERT_TRUE(MainWindowOf(window));
  // The open window's list would overwrite what an import wrote.
  EXPECT_EQ(Run("/import \"" + file + "\" /quiet"), 2);
  EXPECT_EQ(Output(), "インポートできません: Orbisk は既に起動されています。\r\n");
  EXPECT_FALSE(IsMenuEntryRegistered("挨拶"));
  PostMessageA(MainWindowOf(window), WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(window, 15000), WAIT_OBJECT_0);

  ExpectMessageBox(IDOK);
  EXPECT_EQ(Run("/import \"" + file + "\""), 0);
  ASSERT_EQ(SeenMessageBoxes().size(), 1u);
  EXPECT_EQ(SeenMessageBoxes()[0].text,
            "インポートが終わりました。\r\n\r\n追加: 1 件\r\n置き換え: 0 件\r\nスキップ: 0 "
            "件\r\n登録できなかった項目: 0 件");
  EXPECT_EQ(SeenMessageBoxes()[0].icon, BoxIcon::Information);
  EXPECT_TRUE(IsMenuEntryRegistered("挨拶"));
}

TEST_F(OrbiskCommandLine, ASettingsFileThatCannotBeReadIsNeitherExportedAsEmptyNorImportedInto) {
  WriteCatalogue({"Listed"}, {});
  const std::string before = Settings();
  const std::string file = WriteItemFile({FixedStringRecord("挨拶", "こんにちは")});
  const std::string exported = ProgramFolder() + "export.ini";
  // Held open without sharing, as a backup or sync program may hold it.
  UniqueFile held(CreateFileA(OrbiskSettings().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  const struct {
    std::string arguments, output;
  } cases[] = {
      {"/export \"" + exported + "\"", "設定ファイルを読み込めませんでした。\r\n"},
      {"/import \"" + file + "\" /quiet", "インポートできません: 設定ファイルを読み込めませんでした。\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.arguments), 1) << c.arguments;
    EXPECT_EQ(Output().rfind(c.output, 0), 0u) << Output();
  }
  EXPECT_EQ(GetPathKind(exported), PathKind::Missing);
  EXPECT_FALSE(IsMenuEntryRegistered("挨拶"));
  EXPECT_EQ(GetPathKind(ScriptFilePath("挨拶")), PathKind::Missing);
  // Nor does the window open on an empty list that its first save would
  // write over the file.
  ExpectMessageBox(IDOK);
  HANDLE window = Start();
  ASSERT_TRUE(window);
  EXPECT_EQ(WaitForSingleObject(window, 15000), WAIT_OBJECT_0);
  ASSERT_FALSE(SeenMessageBoxes().empty());
  EXPECT_EQ(SeenMessageBoxes().back().text.rfind("設定ファイルを読み込めませんでした。\r\n", 0), 0u);
  EXPECT_EQ(SeenMessageBoxes().back().icon, BoxIcon::Stop);
  held.reset();
  EXPECT_EQ(Settings(), before);
}

TEST_F(OrbiskCommandLine, AnInteractiveImportWhileTheWindowIsOpenIsTheWindowsOwn) {
  WriteCatalogue({"Listed"}, {});
  const std::string file = WriteItemFile({FixedStringRecord("挨拶", "こんにちは")});
  HANDLE process = Start();
  ASSERT_TRUE(process);
  HWND window = MainWindowOf(process);
  ASSERT_TRUE(window);
  const DWORD windowProcess = GetProcessId(process);
  // Busy first (its Add dialog open), then free: a busy window takes nothing
  // and the second start says Orbisk runs; a free one imports into the list
  // it holds, with its own box, so that its later saves keep the import.
  const struct {
    bool busy;
    int code;
    std::string box;
    DWORD boxProcess;
    std::vector<std::string> lines;
  } cases[] = {
      {true, 2, "Orbisk は既に起動されています。", 0, {"Listed"}},
      {false,
       0,
       "インポートが終わりました。\r\n\r\n追加: 1 件\r\n置き換え: 0 件\r\nスキップ: 0 件\r\n"
       "登録できなかった項目: 0 件",
       windowProcess,
       {"Listed", "挨拶"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    HWND dialog = nullptr;
    if (c.busy) {
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_BTNADD, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_BTNADD)));
      WaitUntilPumping(
          [&] { return (dialog = FindProcessWindow(windowProcess, "#32770", "追加")) != nullptr; }, 15000);
      ASSERT_TRUE(dialog);
    }
    const size_t seen = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    EXPECT_EQ(Run("/import \"" + file + "\""), c.code);
    ASSERT_EQ(SeenMessageBoxes().size(), seen + 1);
    EXPECT_EQ(SeenMessageBoxes().back().text, c.box);
    if (c.boxProcess) {
      EXPECT_EQ(SeenMessageBoxes().back().processId, c.boxProcess);
    }
    EXPECT_EQ(ListLinesOf(window), c.lines);
    EXPECT_EQ(IsMenuEntryRegistered("挨拶"), !c.busy);
    if (dialog) {
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      WaitUntilPumping([&] { return !IsWindow(dialog); }, 15000);
    }
  }
  // Closing saves the list the window holds: the import stays.
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
  EXPECT_EQ(FileNames(OrbiskSettings()), (std::vector<std::string>{"Listed", "挨拶"}));
}

}  // namespace
