// Items moved to and from a file on the real settings file, script files and
// registry: the round trip, the question about a listed name, a large file,
// files refused whole or item by item, the scripts of a command-line import,
// the list's context menu and a dropped item file.
#include "mainwindow/item_exchange.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "catalogue/item_sort.h"
#include "catalogue/item_store.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "common/text_util.h"
#include "common/win_handles.h"
#include "mainwindow/main_window.h"
#include "mainwindow/resource.h"
#include "mainwindow/version_resource.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/mainwindow/main_window_fixture.h"
#include "tests/wine/mainwindow/real_program.h"
#include "ui/field_help.h"
#include "ui/help_texts.h"
#include "ui/product.h"

namespace {

// The values of one registry key: name, then type and bytes.
using KeyValues = std::map<std::string, std::pair<DWORD, std::string>>;

KeyValues MenuKeyValues(const std::string& subkey) {
  KeyValues values;
  UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, (kMenuExtKey + subkey).c_str(), 0, KEY_READ, key.put()) !=
      ERROR_SUCCESS) {
    return values;
  }
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameSize = sizeof name;
    DWORD type = 0;
    BYTE data[2048];
    DWORD dataSize = sizeof data;
    if (RegEnumValueA(key.get(), i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    values[std::string(name, nameSize)] = {type, std::string(reinterpret_cast<char*>(data), dataSize)};
  }
  return values;
}

// Everything an import may touch: the files below the test's program folder
// (the user folder with the settings file and the scripts, the item files,
// and whatever a name like "..\x" would reach) and every key below MenuExt
// with its values. The Wine tests run one at a time, so no other test
// changes MenuExt meanwhile.
struct DiskState {
  FolderSnapshot files;
  std::map<std::string, KeyValues> keys;
};

DiskState DiskNow(const std::string& programFolder) {
  DiskState state;
  state.files = FilesBelow(programFolder);
  for (const std::string& name : MenuExtSubkeys()) state.keys[name] = MenuKeyValues(name);
  return state;
}

// The names that differ between two states, for the failure message.
std::string DiskChanges(const DiskState& before, const DiskState& after) {
  std::string changes;
  const auto compare = [&](const auto& a, const auto& b, const char* what) {
    std::set<std::string> names;
    for (const auto& entry : a) names.insert(entry.first);
    for (const auto& entry : b) names.insert(entry.first);
    for (const std::string& name : names) {
      const auto x = a.find(name), y = b.find(name);
      if (x == a.end() || y == b.end() || x->second != y->second)
        changes += std::string(what) + " " + name + "; ";
    }
  };
  compare(before.files, after.files, "file");
  compare(before.keys, after.keys, "key");
  return Utf8(changes);
}

// An item's script and key as a new item of its name gets them: written,
// read back and removed again.
struct StoredForm {
  std::string script;
  KeyValues key;
};

StoredForm StoredFormOf(const ItemRecord& item) {
  EXPECT_EQ(StoreNewItem(item), StoreResult::Stored) << Utf8(item.ItemName);
  StoredForm form{ReadFileBytes(ScriptFilePath(item.ItemName)), MenuKeyValues(item.ItemName)};
  RemoveStoredItem(item.ItemName);
  EXPECT_FALSE(FileExists(ScriptFilePath(item.ItemName)));
  return form;
}

// The box at the end of an interactive import, as the user reads it.
std::string SummaryText(int added, int replaced, int skipped, int refused) {
  const auto count = [](int n) { return std::to_string(n) + " 件"; };
  return "インポートが終わりました。\r\n\r\n追加: " + count(added) + "\r\n置き換え: " + count(replaced) +
         "\r\nスキップ: " + count(skipped) + "\r\n登録できなかった項目: " + count(refused);
}

ItemRecord WithName(ItemRecord item, const std::string& name) {
  item.ItemName = name;
  return item;
}

class ItemExchange : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    before_ = MenuExtSubkeys();
  }

  HWND List() const { return Control(IDC_LSTITEMS); }

  // An existing program file for launcher items: the import checks the path.
  std::string App(const std::string& name) {
    const std::string folder = ProgramFolder() + "apps\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + name;
    EXPECT_TRUE(WriteFileBytes(path, "MZ"));
    return path;
  }

  std::string WriteItemFile(const std::string& name, const std::string& bytes) {
    const std::string path = ProgramFolder() + name;
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    return path;
  }

  // Imports through the main window as a menu pick or a drop does, the box
  // at its end answered; returns that box.
  SeenMessageBox ImportAndAnswer(const std::string& path) {
    const size_t before = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    ImportIntoWindow(path);
    const std::vector<SeenMessageBox> boxes = SeenMessageBoxes();
    EXPECT_EQ(boxes.size(), before + 1);
    return boxes.size() > before ? boxes.back() : SeenMessageBox{};
  }

  std::set<std::string> before_;  // the MenuExt keys from before the test

  // No window, user folder or menu entry of this test's any more.
  void StartOver() {
    if (MainWindow()) DestroyWindow(MainWindow());
    ASSERT_TRUE(DeleteTree(UserFolder));
    ASSERT_TRUE(EnsureFolder(UserFolder));
    for (const std::string& name : MenuExtSubkeys()) {
      if (before_.count(name) == 0) DeleteMenuExtSubkey(name);
    }
  }

  // Items as the dialog's OK stores them: script, key, settings file.
  void StoreAsAdded(const std::vector<ItemRecord>& records) {
    for (const ItemRecord& item : records)
      ASSERT_EQ(StoreNewItem(item), StoreResult::Stored) << item.ItemName;
    Items = records;
    SortItems(0, ItemCount() - 1);
    ASSERT_TRUE(SaveItems());
  }
};

// --- The round trip ---------------------------------------------------------

TEST_F(ItemExchange, ExportThenImportIntoAnEmptyCatalogueGivesTheSameFilesAndKeys) {
  ItemRecord quoted = LauncherRecord("表示ソフト", App("表示ソフト.exe"), "\"<TU>\"", {1, 0, 1, 0}, 3);
  quoted.Comment = "一行目\r\n二行目";
  quoted.ConfCmdLine = 1;
  ItemRecord hidden = LauncherRecord("viewer", App("viewer.exe"), "-n <TU> '<TT>'", {0, 1, 0, 1}, 0);
  hidden.Comment = "\"引用された\r\nコメント\"";
  ItemRecord single = LauncherRecord("'引用'", App("tool.exe"), "'<SL>'", {0, 0, 0, 1}, 2);
  ItemRecord greeting = FixedStringRecord("挨拶 Mail", "いつもお世話になっております。");
  greeting.Comment = "定型文";
  const ItemRecord signature = FixedStringRecord("ソ表能", "\"署名 \\ 様\"");
  ASSERT_NO_FATAL_FAILURE(StoreAsAdded({quoted, hidden, single, greeting, signature}));
  const std::vector<ItemRecord> listed = Items;
  const FolderSnapshot files = FilesBelow(UserFolder);
  ASSERT_EQ(files.size(), 6u);  // the settings file and five scripts
  std::map<std::string, KeyValues> keys;
  for (const ItemRecord& item : listed) keys[item.ItemName] = MenuKeyValues(item.ItemName);

  const std::string exported = ProgramFolder() + "items.ini";
  ASSERT_TRUE(ExportItems(exported, Items));
  // An export that cannot be written says so and leaves nothing behind.
  EXPECT_FALSE(ExportItems(ProgramFolder() + "missing\\items.ini", Items));

  // Everything gone: no settings file, no scripts, no keys, no list.
  for (const ItemRecord& item : listed) RemoveStoredItem(item.ItemName);
  ASSERT_TRUE(DeleteFileA(SettingsFilePath().c_str()));
  Items.clear();
  ASSERT_TRUE(FilesBelow(UserFolder).empty());
  for (const ItemRecord& item : listed) ASSERT_FALSE(KeyExists(item.ItemName)) << Utf8(item.ItemName);

  const ImportOutcome outcome = ImportItems(exported, nullptr, false);
  EXPECT_EQ(outcome.problem, "");
  EXPECT_EQ(outcome.report.added.size(), listed.size());
  EXPECT_TRUE(outcome.report.refused.empty());
  EXPECT_EQ(Items, listed);
  const FolderSnapshot after = FilesBelow(UserFolder);
  EXPECT_EQ(after.size(), files.size());
  for (const auto& [name, bytes] : files) {
    const auto found = after.find(name);
    ASSERT_NE(found, after.end()) << Utf8(name);
    EXPECT_EQ(found->second, bytes) << Utf8(name);
  }
  for (const ItemRecord& item : listed) {
    EXPECT_EQ(MenuKeyValues(item.ItemName), keys[item.ItemName]) << Utf8(item.ItemName);
  }
}

// --- A listed name ------------------------------------------------------------

struct ConflictAnswer {
  int button;  // IDC_BTNOVERWRITE, IDC_BTNSKIP, IDC_BTNKEEPBOTH, or IDCANCEL for Esc
  bool applyToAll = false;
};

// What the conflict dialogs looked like.
struct SeenConflict {
  std::string caption, text;
  bool skipIsDefault = false;
};

// Answers the conflict dialogs over the main window in turn, from inside
// their modal loops on the test's thread.
class ConflictAnswerer {
 public:
  ConflictAnswerer(HWND mainWindow, std::vector<ConflictAnswer> answers)
      : answers_(std::move(answers)), watcher_(mainWindow, [this](HWND dialog) { Answer(dialog); }) {}

  const std::vector<SeenConflict>& Seen() const { return seen_; }

 private:
  void Answer(HWND dialog) {
    HWND text = GetDlgItem(dialog, IDC_CONFLICTTEXT);
    if (!text || answers_.empty()) {
      // Not the question, or one too many: closed so that the test goes on.
      ADD_FAILURE() << "unexpected dialog " << Utf8(WindowTextAnsi(dialog));
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    SeenConflict seen;
    seen.caption = WindowTextAnsi(dialog);
    seen.text = WindowTextAnsi(text);
    seen.skipIsDefault =
        (GetWindowLongA(GetDlgItem(dialog, IDC_BTNSKIP), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
    seen_.push_back(seen);
    const ConflictAnswer answer = answers_.front();
    answers_.erase(answers_.begin());
    if (answer.applyToAll) SendMessageA(GetDlgItem(dialog, IDC_CHKAPPLYALL), BM_CLICK, 0, 0);
    if (answer.button == IDCANCEL) {
      // Esc on the focused control, through the dialog's own loop.
      HWND focus = GetFocus();
      PostMessageA(focus && IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 1);
    } else {
      SendMessageA(GetDlgItem(dialog, answer.button), BM_CLICK, 0, 0);
    }
  }

  std::vector<ConflictAnswer> answers_;
  std::vector<SeenConflict> seen_;
  EditDialogWatcher watcher_;
};

TEST_F(ItemExchange, EachAnswerToAListedNameDoesWhatItSays) {
  // The scripts name the version, as the running program's window loads it.
  LoadVersionTexts();
  const std::string firstApp = App("first.exe"), secondApp = App("second.exe");
  ItemRecord alpha = LauncherRecord("Alpha", firstApp, "<TU>");
  alpha.Comment = "元のコメント";
  const std::vector<ItemRecord> listed = {alpha, LauncherRecord("Beta", firstApp, "-b <TU>", {0, 1, 0, 0}),
                                          FixedStringRecord("Gamma", "こんにちは")};
  // The file names Alpha in other letters, turns Beta into a fixed string,
  // and holds a new item.
  ItemRecord newAlpha = LauncherRecord("ALPHA", secondApp, "-x \"<TU>\"", {1, 0, 0, 0}, 2);
  newAlpha.Comment = "新しい\r\nコメント";
  newAlpha.ConfCmdLine = 1;
  const std::vector<ItemRecord> file = {newAlpha, FixedStringRecord("Beta", "定型"),
                                        FixedStringRecord("Gamma", "さようなら"),
                                        LauncherRecord("Delta", secondApp, "<TT>")};
  const std::string path = WriteItemFile("conflicts.ini", ExportFileText(file));

  // Where an item of the result comes from: a listed item left alone, or an
  // item of the file under the given name.
  struct Final {
    const char* name;
    char from;  // 'L' listed, 'F' file
    int index;
  };
  const struct {
    const char* what;
    std::vector<ConflictAnswer> answers;
    size_t dialogs;
    std::vector<Final> result;
    std::array<int, 3> counts;  // added, replaced, skipped
  } cases[] = {
      {"one answer each",
       {{IDC_BTNOVERWRITE}, {IDC_BTNSKIP}, {IDC_BTNKEEPBOTH}},
       3,
       {{"Alpha", 'F', 0}, {"Beta", 'L', 1}, {"Gamma", 'L', 2}, {"Gamma (2)", 'F', 2}, {"Delta", 'F', 3}},
       {2, 1, 1}},
      {"overwrite for all",
       {{IDC_BTNOVERWRITE, true}},
       1,
       {{"Alpha", 'F', 0}, {"Beta", 'F', 1}, {"Gamma", 'F', 2}, {"Delta", 'F', 3}},
       {1, 3, 0}},
      {"keep both for all",
       {{IDC_BTNKEEPBOTH, true}},
       1,
       {{"Alpha", 'L', 0},
        {"ALPHA (2)", 'F', 0},
        {"Beta", 'L', 1},
        {"Beta (2)", 'F', 1},
        {"Gamma", 'L', 2},
        {"Gamma (2)", 'F', 2},
        {"Delta", 'F', 3}},
       {4, 0, 0}},
      {"skip for all",
       {{IDC_BTNSKIP, true}},
       1,
       {{"Alpha", 'L', 0}, {"Beta", 'L', 1}, {"Gamma", 'L', 2}, {"Delta", 'F', 3}},
       {1, 0, 3}},
      {"Esc each time",
       {{IDCANCEL}, {IDCANCEL}, {IDCANCEL}},
       3,
       {{"Alpha", 'L', 0}, {"Beta", 'L', 1}, {"Gamma", 'L', 2}, {"Delta", 'F', 3}},
       {1, 0, 3}},
      {"Esc for all",
       {{IDCANCEL, true}},
       1,
       {{"Alpha", 'L', 0}, {"Beta", 'L', 1}, {"Gamma", 'L', 2}, {"Delta", 'F', 3}},
       {1, 0, 3}},
      {"skip, then overwrite for the rest",
       {{IDC_BTNSKIP}, {IDC_BTNOVERWRITE, true}},
       2,
       {{"Alpha", 'L', 0}, {"Beta", 'F', 1}, {"Gamma", 'F', 2}, {"Delta", 'F', 3}},
       {1, 2, 1}},
  };
  const char* const asked[] = {"Alpha", "Beta", "Gamma"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // A fresh catalogue: the stored form each result should have is made
    // first, while no listed item uses the names.
    ASSERT_NO_FATAL_FAILURE(StartOver());
    std::map<std::string, StoredForm> expectedForms;
    for (const Final& f : c.result) {
      if (f.from == 'F') expectedForms[f.name] = StoredFormOf(WithName(file[f.index], f.name));
    }
    WriteCatalogue(listed);
    ASSERT_TRUE(Open());
    std::map<std::string, StoredForm> listedForms;
    for (const ItemRecord& item : listed) {
      listedForms[item.ItemName] = {ReadFileBytes(ScriptFilePath(item.ItemName)),
                                    MenuKeyValues(item.ItemName)};
    }

    ConflictAnswerer answerer(Window(), c.answers);
    const SeenMessageBox box = ImportAndAnswer(path);

    ASSERT_EQ(answerer.Seen().size(), c.dialogs);
    for (size_t i = 0; i < c.dialogs; ++i) {
      EXPECT_EQ(answerer.Seen()[i].caption, "Orbisk");
      EXPECT_EQ(answerer.Seen()[i].text,
                std::string("「") + asked[i] + "」は登録済みです。\r\nインポートする項目をどうしますか？");
      EXPECT_TRUE(answerer.Seen()[i].skipIsDefault) << "Enter must skip";
    }
    EXPECT_EQ(box.text, SummaryText(c.counts[0], c.counts[1], c.counts[2], 0));
    EXPECT_EQ(box.icon, BoxIcon::Information);

    std::vector<std::string> names;
    for (const Final& f : c.result) {
      SCOPED_TRACE(f.name);
      names.push_back(f.name);
      const auto found = std::find_if(Items.begin(), Items.end(),
                                      [&](const ItemRecord& item) { return item.ItemName == f.name; });
      ASSERT_NE(found, Items.end());
      const std::string script = ReadFileBytes(ScriptFilePath(f.name));
      if (f.from == 'L') {
        EXPECT_EQ(*found, listed[f.index]);
        EXPECT_EQ(script, listedForms[f.name].script);
        EXPECT_EQ(MenuKeyValues(f.name), listedForms[f.name].key);
      } else {
        EXPECT_EQ(*found, WithName(file[f.index], f.name));
        EXPECT_EQ(script, expectedForms[f.name].script);
        EXPECT_EQ(MenuKeyValues(f.name), expectedForms[f.name].key);
      }
    }
    EXPECT_EQ(static_cast<size_t>(ItemCount()), c.result.size());
    std::sort(names.begin(), names.end(), ItemNameLess);
    EXPECT_EQ(ListLines(), names);
    EXPECT_EQ(SettingsNames(), names);
    EXPECT_EQ(StatusText(0), "項目数：" + std::to_string(names.size()));
    // Nothing left over: one script per item beside the settings file.
    EXPECT_EQ(FilesBelow(UserFolder).size(), names.size() + 1);
  }
}

TEST_F(ItemExchange, KeepingBothFindsANameNoListedKeyOrFileUses) {
  // The registry and the file system take full-width letters of either case
  // as one name, as they do ASCII ones: "ｘ (2)" is taken for "Ｘ (2)".
  WriteCatalogue({FixedStringRecord("Ｘ", "1"), FixedStringRecord("ｘ (2)", "2")});
  ASSERT_TRUE(Open());
  const std::string path = WriteItemFile("x.ini", ExportFileText({FixedStringRecord("Ｘ", "3")}));
  ConflictAnswerer answerer(Window(), {{IDC_BTNKEEPBOTH}});
  EXPECT_EQ(ImportAndAnswer(path).text, SummaryText(1, 0, 0, 0));
  EXPECT_EQ(answerer.Seen().size(), 1u);
  EXPECT_EQ(ListLines(), (std::vector<std::string>{"Ｘ", "ｘ (2)", "Ｘ (3)"}));
  EXPECT_EQ(ReadFileBytes(ScriptFilePath("ｘ (2)")), "<html>ｘ (2)</html>\r\n");
  EXPECT_TRUE(KeyExists("Ｘ (3)") && ScriptExists("Ｘ (3)"));
}

// "Orbisk.exe /import", without the window whose load reads the version.
class ItemExchangeCommandLine : public RealProgram {};

TEST_F(ItemExchangeCommandLine, AnImportsScriptsNameTheVersionAsTheWindowsDo) {
  WriteCatalogue({}, {});
  const std::string app = ProgramFolder() + "viewer.exe";
  ASSERT_TRUE(WriteFileBytes(app, "MZ"));
  const std::string file = ProgramFolder() + "items.ini";
  ASSERT_TRUE(WriteFileBytes(file, ExportFileText({LauncherRecord("Viewer", app, "<TU>"),
                                                   FixedStringRecord("挨拶", "こんにちは")})));
  HANDLE process = Start("/import \"" + file + "\" /quiet", ProgramFolder() + "output.txt");
  ASSERT_TRUE(process);
  ASSERT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
  for (const char* name : {"Viewer", "挨拶"}) {
    EXPECT_EQ(ReadFileBytes(ScriptFilePath(name))
                  .rfind("<!--\r\nOrbisk " ORBISK_VERSION_TEXT "\r\n" ORBISK_RIGHTS_NOTICE "\r\n", 0),
              0u)
        << name;
  }
}

// --- A large file ---------------------------------------------------------------

TEST_F(ItemExchange, AThousandItemsAreAllAdded) {
  const std::string app = App("viewer.exe");
  std::vector<ItemRecord> records;
  for (int i = 1; i <= 1000; ++i) {
    char name[32];
    snprintf(name, sizeof name, "項目 %04d", i);
    records.push_back(i % 3 == 0 ? FixedStringRecord(name, "定型 " + std::to_string(i))
                                 : LauncherRecord(name, app, "<TU> " + std::to_string(i)));
  }
  const std::string path = WriteItemFile("thousand.ini", ExportFileText(records));
  WriteCatalogue({});
  ASSERT_TRUE(Open());

  const SeenMessageBox box = ImportAndAnswer(path);
  EXPECT_EQ(box.text, SummaryText(1000, 0, 0, 0));
  ASSERT_EQ(ItemCount(), 1000);
  EXPECT_EQ(ListLines().size(), 1000u);
  EXPECT_EQ(StatusText(0), "項目数：1000");
  EXPECT_NE(SettingsText().find("[ItemList]\r\nItemCount=1000\r\n"), std::string::npos);
  EXPECT_EQ(SettingsNames().size(), 1000u);
  int unregistered = 0, missingScripts = 0;
  for (const ItemRecord& item : records) {
    unregistered += !KeyExists(item.ItemName);
    missingScripts += !ScriptExists(item.ItemName);
  }
  EXPECT_EQ(unregistered, 0);
  EXPECT_EQ(missingScripts, 0);
}

// --- Files refused whole ----------------------------------------------------------

TEST_F(ItemExchange, ARefusedFileChangesNothingAndTheBoxNamesTheProblem) {
  const std::string app = App("viewer.exe");
  ItemRecord listedItem = LauncherRecord("Listed", app, "<TU>");
  WriteCatalogue({listedItem});
  ASSERT_TRUE(Open());
  // A refused file asks nothing: a question would fail the test.
  ConflictAnswerer noQuestions(Window(), {});

  // A good item and the listed name come first, so that a file taken in
  // part would show.
  const ItemRecord fresh = FixedStringRecord("Fresh", "text");
  ItemRecord changed = LauncherRecord("Listed", app, "-changed <TU>");
  ItemRecord last = LauncherRecord("Last", app, "<TU> -last", {1, 0, 0, 0}, 0);
  last.ConfCmdLine = 1;
  const std::string whole = ExportFileText({fresh, changed, last});
  const std::string lastFixed =
      ExportFileText({fresh, changed, FixedStringRecord("Signed", "ご担当者様、よろしくお願いします")});
  // The export cut at the marker, plus extra bytes of what follows it. A cut
  // at a line's end or inside the last value reads as a hand-written file
  // that leaves keys out, which the reader takes.
  const auto cut = [](const std::string& text, const std::string& marker, size_t extra) {
    const size_t at = text.find(marker);
    EXPECT_NE(at, std::string::npos) << marker;
    return text.substr(0, at + extra);
  };
  const std::string longText(kMaxFieldBytes + 1, 'a');
  ItemRecord wordy = FixedStringRecord("Wordy", "text");
  wordy.Comment = longText;

  const struct {
    const char* what;
    std::string bytes;
    const char* problem;  // in the box
  } cases[] = {
      {"binary",
       std::string("MZ\x90\x00\x03\x00\x00\x00\x04\x00\xFF\xFF\x00\x00\xB8", 15) + std::string(64, '\0'),
       "テキストのファイルではありません。"},
      {"cut after the second item", cut(whole, "ItemName3=", 0), "項目 3 がありません。"},
      {"cut in the last name", cut(whole, "ItemName3=", 12), "項目 3「La」"},
      {"cut in the last template", cut(whole, "Argments3=", 13), "項目 3「Last」"},
      {"cut before the last contexts", cut(whole, "Contexts3=", 0), "項目 3「Last」"},
      {"cut in a key", cut(whole, "WindowStyle3=", 8), "最後の行「WindowSt」は値の行ではありません。"},
      {"cut in the last key", cut(whole, "ConfCmdLine3=", 7), "最後の行「ConfCmd」"},
      {"cut in the last value", cut(whole, "ConfCmdLine3=", 13), "項目 3「Last」"},
      {"cut in a fixed string's last key", cut(lastFixed, "Comment3=", 4), "最後の行「Comm」"},
      {"more items than counted", ReplaceAll(whole, "ItemCount=3", "ItemCount=2"),
       "項目の数 (ItemCount=2) より多くの項目があります。"},
      {"no item list", "[Other]\r\nItemCount=1\r\n", "[ItemList] がありません"},
      {"device name", ExportFileText({fresh, FixedStringRecord("CON", "x")}),
       "項目 2「CON」: この名前は予約デバイス名のため、使用できません。"},
      {"device name with an extension", ExportFileText({fresh, FixedStringRecord("com1.txt", "x")}),
       "この名前は予約デバイス名のため、使用できません。"},
      {"backslash", ExportFileText({fresh, FixedStringRecord("..\\evil", "x")}),
       "項目 2「..\\evil」: 項目名に \\ / : * ? \" < > | は使用できません。"},
      {"a name twice",
       ExportFileText({fresh, FixedStringRecord("Twice", "1"), FixedStringRecord("TWICE", "2")}),
       "項目名「TWICE」がファイルの中に 2 度あります。"},
      {"over-long template", ExportFileText({fresh, FixedStringRecord("Long", longText)}),
       "項目 2「Long」の Argments2 が長すぎます（8192 バイトまで）。"},
      {"over-long comment", ExportFileText({fresh, wordy}),
       "項目 2「Wordy」の Comment2 が長すぎます（8192 バイトまで）。"},
      {"UTF-8 without a mark",
       "[ItemList]\r\nItemCount=1\r\nItemName1=Check \xE2\x9C\x93\r\nFixedString1=1\r\n"
       "Argments1=ok\r\nComment1=\r\n",
       "Shift_JIS で表せない文字が含まれています。"},
      {"UTF-8 with a mark",
       "\xEF\xBB\xBF[ItemList]\r\nItemCount=1\r\nItemName1=\xE7\xAC\x91\xF0\x9F\x98\x80\r\n"
       "FixedString1=1\r\nArgments1=ok\r\nComment1=\r\n",
       "Shift_JIS で表せない文字が含まれています。"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = WriteItemFile("refused" + std::to_string(++n) + ".ini", c.bytes);
    const DiskState before = DiskNow(ProgramFolder());
    const std::vector<ItemRecord> listedBefore = Items;
    const std::vector<std::string> linesBefore = ListLines();
    const SeenMessageBox box = ImportAndAnswer(path);
    EXPECT_EQ(box.text.rfind("このファイルからはインポートできません。\r\n" + path + "\r\n\r\n", 0), 0u)
        << Utf8(box.text);
    EXPECT_NE(box.text.find(c.problem), std::string::npos) << Utf8(box.text);
    const std::string end = "\r\n\r\n何も変更していません。";
    EXPECT_TRUE(box.text.size() > end.size() &&
                box.text.compare(box.text.size() - end.size(), end.size(), end) == 0)
        << Utf8(box.text);
    EXPECT_EQ(box.icon, BoxIcon::Warning);
    const DiskState after = DiskNow(ProgramFolder());
    EXPECT_TRUE(after.files == before.files && after.keys == before.keys) << DiskChanges(before, after);
    EXPECT_EQ(Items, listedBefore);
    EXPECT_EQ(ListLines(), linesBefore);
  }
  // A file that is not there, and a folder.
  CreateDirectoryA((ProgramFolder() + "folder.ini").c_str(), nullptr);
  for (const std::string& path : {ProgramFolder() + "missing.ini", ProgramFolder() + "folder.ini"}) {
    SCOPED_TRACE(path);
    const DiskState before = DiskNow(ProgramFolder());
    const std::vector<ItemRecord> listedBefore = Items;
    const SeenMessageBox box = ImportAndAnswer(path);
    EXPECT_EQ(box.text, "ファイルを読み込めませんでした。\r\n" + path + "\r\n\r\n何も変更していません。");
    const DiskState after = DiskNow(ProgramFolder());
    EXPECT_TRUE(after.files == before.files && after.keys == before.keys) << DiskChanges(before, after);
    EXPECT_EQ(Items, listedBefore);
  }
}

// --- Items refused one by one -----------------------------------------------------

TEST_F(ItemExchange, AnItemThatFailsTheChecksIsRefusedAndTheOthersAreAdded) {
  const std::string app = App("viewer.exe");
  WriteCatalogue({});
  ASSERT_TRUE(Open());
  const std::string missingApp = ProgramFolder() + "apps\\gone.exe";
  const std::string path = WriteItemFile(
      "mixed.ini",
      ExportFileText({LauncherRecord("First", app, "<TU>"), LauncherRecord("Missing", missingApp, "<TU>"),
                      LauncherRecord("Nowhere", app, "<TU>", {0, 0, 0, 0}),
                      FixedStringRecord("Second", "text")}));
  const SeenMessageBox box = ImportAndAnswer(path);
  EXPECT_EQ(box.text, SummaryText(2, 0, 0, 2) +
                          "\r\n\r\n登録できなかった項目と理由:"
                          "\r\n・Missing: アプリケーションがみつかりません。"
                          "\r\n・Nowhere: 表示方法がひとつもチェックされていません。");
  EXPECT_EQ(ListLines(), (std::vector<std::string>{"First", "Second"}));
  EXPECT_EQ(SettingsNames(), (std::vector<std::string>{"First", "Second"}));
  for (const char* added : {"First", "Second"}) {
    EXPECT_TRUE(ScriptExists(added) && KeyExists(added)) << added;
  }
  for (const char* refused : {"Missing", "Nowhere"}) {
    EXPECT_FALSE(ScriptExists(refused)) << refused;
    EXPECT_TRUE(MenuKeyValues(refused).empty()) << refused;
  }
}

// --- The list's context menu -----------------------------------------------------------

// What the popup menu showed, read from inside its own loop by a timer.
struct ShownMenu {
  bool shown = false;
  std::vector<std::string> texts;  // separators left out
  std::vector<bool> grayed;
  RECT at = {};
};

ShownMenu shownMenu;
WPARAM menuPick = 0;  // an access key to type, or 0 to close the menu

void CALLBACK ReadMenu(HWND, UINT, UINT_PTR, DWORD) {
  if (shownMenu.shown) return;
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, "#32768", nullptr)) != nullptr) {
    if (IsWindowVisible(window) && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) break;
  }
  if (!window) return;
  const auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
  shownMenu.shown = true;
  GetWindowRect(window, &shownMenu.at);
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
    if (state & MF_SEPARATOR) continue;
    char text[256] = {};
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    shownMenu.texts.push_back(text);
    shownMenu.grayed.push_back((state & (MF_GRAYED | MF_DISABLED)) != 0);
  }
  if (menuPick) {
    PostMessageA(window, WM_CHAR, menuPick, 0);
  } else {
    EndMenu();
  }
}

class ItemExchangeMenu : public ItemExchange {
 protected:
  // The list's menu as a right click at the list's middle or the menu key
  // opens it, read and then closed or picked from.
  ShownMenu OpenMenu(bool byKey, WPARAM pick) {
    shownMenu = {};
    menuPick = pick;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, ReadMenu);
    if (byKey) {
      SendMessageA(Window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List()), MAKELPARAM(-1, -1));
    } else {
      // The right button released over the list: the system turns it into
      // the window's WM_CONTEXTMENU for the list.
      RECT rect;
      GetClientRect(List(), &rect);
      const LPARAM middle = MAKELPARAM(rect.right / 2, rect.bottom / 2);
      SendMessageA(List(), WM_RBUTTONDOWN, MK_RBUTTON, middle);
      SendMessageA(List(), WM_RBUTTONUP, 0, middle);
    }
    KillTimer(nullptr, timer);
    return shownMenu;
  }
};

TEST_F(ItemExchangeMenu, TheListsMenuOffersExportImportAndHelp) {
  const std::vector<std::string> texts = {"エクスポート…", "選択した項目をエクスポート…", "インポート…",
                                          "ヘルプ(&H)"};
  const struct {
    const char* what;
    bool items;
    int selected;
    bool byKey;
    std::vector<bool> grayed;
  } cases[] = {
      {"a selected line", true, 1, false, {false, false, false, false}},
      {"no selected line", true, -1, false, {false, true, false, false}},
      {"an empty list", false, -1, false, {true, true, false, false}},
      {"the menu key on a selected line", true, 0, true, {false, false, false, false}},
      {"the menu key without a selection", true, -1, true, {false, true, false, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (MainWindow()) DestroyWindow(MainWindow());
    WriteCatalogue(c.items ? std::vector<ItemRecord>{LauncherItem("One"), LauncherItem("Two")}
                           : std::vector<ItemRecord>{});
    ASSERT_TRUE(Open());
    SendMessageA(List(), LB_SETCURSEL, c.selected, 0);
    const ShownMenu menu = OpenMenu(c.byKey, 0);
    ASSERT_TRUE(menu.shown) << "no menu";
    EXPECT_EQ(menu.texts, texts);
    EXPECT_EQ(menu.grayed, c.grayed);
    // At the click, or for the key below the selected line, else at the
    // list's corner.
    POINT expected;
    RECT list;
    GetWindowRect(List(), &list);
    if (!c.byKey) {
      RECT client;
      GetClientRect(List(), &client);
      expected = {client.right / 2, client.bottom / 2};
      ClientToScreen(List(), &expected);
    } else if (c.selected >= 0) {
      RECT line;
      SendMessageA(List(), LB_GETITEMRECT, c.selected, reinterpret_cast<LPARAM>(&line));
      expected = {line.left, line.bottom};
      ClientToScreen(List(), &expected);
    } else {
      expected = {list.left, list.top};
    }
    EXPECT_EQ(menu.at.left, expected.x);
    EXPECT_EQ(menu.at.top, expected.y);
    // Closing the menu does nothing else.
    EXPECT_EQ(FieldHelpWindow(), nullptr);
    EXPECT_EQ(ItemCount(), c.items ? 2 : 0);
  }
}

TEST_F(ItemExchangeMenu, ItsHelpEntryShowsTheListsTopicBesideIt) {
  for (const bool byKey : {false, true}) {
    SCOPED_TRACE(byKey ? "menu key" : "right click");
    // A window of its own each time: under Wine the X focus events of the
    // pop-up that closed arrive late and would cancel the next menu.
    if (MainWindow()) DestroyWindow(MainWindow());
    WriteCatalogue({LauncherItem("One")});
    ASSERT_TRUE(Open());
    ASSERT_TRUE(OpenMenu(byKey, 'h').shown);
    HWND popup = FieldHelpWindow();
    ASSERT_TRUE(popup);
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_EQ(FieldHelpTopic(), 2);
    EXPECT_EQ(HelpTopicText(2).rfind("登録済み項目一覧\r\n", 0), 0u);
    RECT control, shown;
    GetWindowRect(List(), &control);
    GetWindowRect(popup, &shown);
    const bool beside = shown.left == control.right + 4 || shown.right == control.left - 4;
    EXPECT_TRUE(beside) << shown.left << " " << control.right;
    EXPECT_EQ(shown.top, control.top);
    CloseFieldHelp();
    EXPECT_EQ(ItemCount(), 1);
  }
}

// --- A dropped file -----------------------------------------------------------------

TEST_F(ItemExchange, ADroppedItemFileIsImportedAfterTheTimerAndAProgramStillOpensAdd) {
  const std::string app = App("viewer.exe");
  WriteCatalogue({LauncherItem("Listed")});
  ASSERT_TRUE(Open());
  const std::string upper =
      WriteItemFile("ITEMS.INI", ExportFileText({LauncherRecord("Dropped", app, "<TU>")}));
  // Saved by an editor as UTF-8 with a mark: 表示 in UTF-8.
  const std::string utf8 =
      WriteItemFile("utf8.ini",
                    "\xEF\xBB\xBF[ItemList]\r\nItemCount=1\r\nItemName1=\xE8\xA1\xA8\xE7\xA4\xBA\r\n"
                    "FixedString1=1\r\nArgments1=ok\r\nComment1=\r\n");
  EditDialogWatcher watcher(Window());
  const struct {
    std::string path;
    std::vector<std::string> lines;
  } drops[] = {{upper, {"Dropped", "Listed"}}, {utf8, {"Dropped", "Listed", "表示"}}};
  for (const auto& drop : drops) {
    SCOPED_TRACE(drop.path);
    const size_t boxes = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    SendMessageA(List(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({drop.path})), 0);
    EXPECT_EQ(PendingDrop(), drop.path);
    EXPECT_EQ(SeenMessageBoxes().size(), boxes) << "the import must not run inside the drop";
    ASSERT_TRUE(WaitForMessageBoxes(boxes + 1, 5000));
    EXPECT_EQ(SeenMessageBoxes().back().text, SummaryText(1, 0, 0, 0));
    FlushMessages();
    EXPECT_EQ(PendingDrop(), "");
    EXPECT_EQ(ListLines(), drop.lines);
    EXPECT_EQ(SettingsNames(), drop.lines);
  }
  EXPECT_TRUE(ScriptExists("表示") && KeyExists("表示"));
  EXPECT_TRUE(watcher.Opened().empty()) << "an item file must not open Add";
  EXPECT_FALSE(KillTimer(Window(), kTimer1)) << "the drop timer is still running";

  const std::string program = App("tool.exe");
  SendMessageA(List(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({program})), 0);
  ASSERT_TRUE(watcher.WaitForOpened(1, 3000));
  EXPECT_EQ(watcher.Opened()[0].mode, EditModes::Add);
  EXPECT_EQ(watcher.Opened()[0].droppedPath, program);
}

}  // namespace
