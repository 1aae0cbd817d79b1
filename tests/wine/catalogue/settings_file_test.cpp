// Loading and saving the settings file through the real profile functions.
#include <windows.h>

#include <algorithm>
#include <thread>

#include "catalogue/item_record.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "common/win_handles.h"
#include "tests/harness/item_records.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/waiting.h"
#include "tests/harness/win_test_util.h"

namespace {

class SettingsFile : public WineTest {
 protected:
  void Register(const std::string& name) {
    ASSERT_TRUE(RegisterMenuEntry(name, false, {true, false, false, false}));
  }
  void WriteSettings(const std::string& lines) { ASSERT_TRUE(WriteFileBytes(SettingsFilePath(), lines)); }
  std::string Settings() { return ReadFileBytes(SettingsFilePath()); }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& item : Items) names.push_back(item.ItemName);
    return names;
  }
};

ItemRecord Launcher(const std::string& name, const std::string& argments, const std::string& comment) {
  ItemRecord r = LauncherRecord(name, "C:\\Tools\\viewer.exe", argments, {1, 0, 1, 0}, 2);
  r.Comment = comment;
  return r;
}

}  // namespace

TEST_F(SettingsFile, MissingFileOrSectionGivesEmptyList) {
  LoadItems();
  EXPECT_EQ(ItemCount(), 0);
  WriteSettings("[Other]\r\nItemCount=3\r\n");
  LoadItems();
  EXPECT_EQ(ItemCount(), 0);
}

TEST_F(SettingsFile, LoadRepairsRenumbersAndSaveWritesTheExactLayout) {
  for (const char* name : {"Viewer", "NoPath", "Stamp", "Gone"}) Register(name);
  DeleteMenuExtSubkey("Gone");
  WriteSettings(
      "[Before]\r\nkeep=1\r\n"
      "[ItemList]\r\nItemCount=5\r\n"
      "ItemName1=Viewer\r\nFixedString1=2\r\nArgments1=\"\"<TU>\"\"\r\nComment1=first\\nsecond\r\n"
      "AplPath1=\"C:\\Tools\\viewer.exe\"\r\nContexts1=1e10\r\nWindowStyle1=7\r\nConfCmdLine1=1\r\n"
      "ItemName2=NoPath\r\nFixedString2=0\r\nContexts2=1000\r\n"
      "ItemName3=Stamp\r\nFixedString3=1\r\nArgments3=<Y4>/<M2>\r\nComment3=\r\n"
      "AplPath3=C:\\x.exe\r\nContexts3=1111\r\nWindowStyle3=3\r\nConfCmdLine3=1\r\n"
      "ItemName4=Gone\r\nFixedString4=1\r\n"
      "ItemName5=  \r\nFixedString5=1\r\n"
      "[After]\r\nkeep=2\r\n");
  LoadItems();
  ASSERT_EQ(Names(), (std::vector<std::string>{"Stamp", "Viewer"}));
  const ItemRecord& viewer = Items[1];
  EXPECT_EQ(viewer.FixedString, 0);
  EXPECT_EQ(viewer.Argments, "\"<TU>\"");
  EXPECT_EQ(viewer.Comment, "first\r\nsecond");
  EXPECT_EQ(viewer.AplPath, "C:\\Tools\\viewer.exe");
  EXPECT_EQ(viewer.Contexts, (std::array<int16_t, 4>{1, 0, 1, 0}));
  EXPECT_EQ(viewer.WindowStyle, 1);
  EXPECT_EQ(viewer.ConfCmdLine, 1);
  EXPECT_EQ(Items[0].AplPath, "");
  EXPECT_EQ(Items[0].Contexts, (std::array<int16_t, 4>{}));

  ASSERT_TRUE(SaveItems());
  EXPECT_EQ(Settings(),
            "[Before]\r\nkeep=1\r\n"
            "[ItemList]\r\nItemCount=2\r\n"
            "ItemName1=Stamp\r\nFixedString1=1\r\nArgments1=<Y4>/<M2>\r\nComment1=\r\n"
            "ItemName2=Viewer\r\nFixedString2=0\r\nArgments2=\"\"<TU>\"\"\r\nComment2=first\\nsecond\r\n"
            "AplPath2=C:\\Tools\\viewer.exe\r\nContexts2=1010\r\nWindowStyle2=1\r\nConfCmdLine2=1\r\n"
            "[After]\r\nkeep=2\r\n");
}

TEST_F(SettingsFile, ValuesRoundTrip) {
  const std::string longText(3000, 'x');
  const std::string japanese = "表示\x81\x40ソース";  // 表示　ソース: trail bytes 5C and 7C-like included
  struct Case {
    std::string argments, comment;
  } cases[] = {
      {"\"C:\\a b\\c.txt\"", "\"quoted comment\""},
      {"'abc'", "'single'"},
      {"\"", "'"},
      {"<ST>\"mid\"<TU>", "two\r\nlines\r\n"},
      {longText, longText + "\r\n" + longText},
      {japanese, japanese + "\r\n" + japanese},
      {"", "typed \\n here"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string name = "Item" + std::to_string(++n);
    Register(name);
    Items.push_back(Launcher(name, c.argments, c.comment));
  }
  ASSERT_TRUE(SaveItems());
  const auto saved = Items;
  // The platform's own single-value reader sees the same values.
  for (size_t i = 0; i < saved.size(); ++i) {
    std::string buffer(20000, '\0');
    const std::string key = "Argments" + std::to_string(i + 1);
    buffer.resize(GetPrivateProfileStringA("ItemList", key.c_str(), "", buffer.data(), 20000,
                                           SettingsFilePath().c_str()));
    EXPECT_EQ(buffer, saved[i].Argments) << key;
  }
  LoadItems();
  ASSERT_EQ(ItemCount(), static_cast<int>(saved.size()));
  for (size_t i = 0; i < saved.size(); ++i) {
    EXPECT_EQ(Items[i].Argments, saved[i].Argments) << i;
    // A typed backslash-n comes back as a line break, by design of the format.
    const std::string expectedComment =
        saved[i].Comment == "typed \\n here" ? "typed \r\n here" : saved[i].Comment;
    EXPECT_EQ(Items[i].Comment, expectedComment) << i;
    EXPECT_EQ(Items[i].WindowStyle, 2);
  }
}

TEST_F(SettingsFile, NamesWithQuotesAtEitherEndRoundTrip) {
  // A name that loses its quotes on the way back no longer matches its
  // registry key, and the item would be dropped at the next start.
  const std::vector<std::string> names = {"'memo'", "'memo",      "memo'",       "\"memo\"", "\"memo",
                                          "memo\"", "'\x95\x5C'", "\"'mixed'\"", "'"};
  for (const std::string& name : names) {
    Register(name);
    ItemRecord fixed;
    fixed.ItemName = name;
    fixed.FixedString = 1;
    fixed.Argments = "x";
    Items.push_back(name == "'memo'" ? Launcher(name, "<TU>", "") : fixed);
  }
  ASSERT_TRUE(SaveItems());
  LoadItems();
  auto expected = names;
  std::vector<std::string> loaded = Names();
  std::sort(expected.begin(), expected.end());
  std::sort(loaded.begin(), loaded.end());
  EXPECT_EQ(loaded, expected);
}

TEST_F(SettingsFile, BlanksAroundValuesAreLost) {
  Register("Padded");
  Items.push_back(Launcher("Padded", "  <ST>  ", " note "));
  ASSERT_TRUE(SaveItems());
  LoadItems();
  ASSERT_EQ(ItemCount(), 1);
  EXPECT_EQ(Items[0].Argments, "<ST>");
  EXPECT_EQ(Items[0].Comment, "note");
}

TEST_F(SettingsFile, SortIsCaseInsensitiveAndLocaleAware) {
  const std::vector<std::string> names = {"beta",  "Alpha",    "\x82\xA9", "alpha2",
                                          "Beta2", "\x82\xA0", "Zed",      "1st"};
  for (const auto& name : names) {
    Register(name);
    Items.push_back(Launcher(name, "", ""));
  }
  ASSERT_TRUE(SaveItems());
  LoadItems();
  // Digits, then Latin ignoring case, then kana in their order (あ before か).
  EXPECT_EQ(Names(), (std::vector<std::string>{"1st", "Alpha", "alpha2", "beta", "Beta2", "Zed", "\x82\xA0",
                                               "\x82\xA9"}));
}

TEST_F(SettingsFile, BadFilesNeverCrashAndKeepWhatCanBeAccepted) {
  Register("Good");
  std::string garbage;
  for (int i = 0; i < 20000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  struct Case {
    std::string name, content;
    int expected;
  } cases[] = {
      {"empty", "", 0},
      {"garbage", garbage, 0},
      {"negative count", "[ItemList]\r\nItemCount=-3\r\nItemName1=Good\r\nAplPath1=a\r\nContexts1=1000\r\n",
       0},
      {"absurd count",
       "[ItemList]\r\nItemCount=99999999999\r\nItemName1=Good\r\nAplPath1=a\r\nContexts1=1000\r\n", 1},
      {"count past the items",
       "[ItemList]\r\nItemCount=30000\r\nItemName1=Good\r\nAplPath1=a\r\nContexts1=1000\r\n", 1},
      {"garbage around",
       garbage + "\r\n[ItemList]\r\nItemCount=1\r\nItemName1=Good\r\nAplPath1=a\r\nContexts1=1000\r\n", 1},
      {"odd values",
       "[ItemList]\r\nItemCount=1\r\nItemName1=Good\r\nAplPath1=a\r\nContexts1=1000\r\n"
       "FixedString1=\x81\x40\r\nWindowStyle1=3x\r\nConfCmdLine1=\r\n",
       1},
  };
  for (const Case& c : cases) {
    WriteSettings(c.content);
    LoadItems();
    EXPECT_EQ(ItemCount(), c.expected) << c.name;
  }
}

TEST_F(SettingsFile, HugeCatalogueLoads) {
  std::string content = "[ItemList]\r\nItemCount=3000\r\n";
  for (int n = 1; n <= 3000; ++n) {
    const std::string s = std::to_string(n);
    content += "ItemName" + s + "=Fixed" + s + "\r\nFixedString" + s + "=1\r\nArgments" + s + "=x\r\n";
  }
  Register("Fixed2999");
  WriteSettings(content);
  LoadItems();
  ASSERT_EQ(ItemCount(), 1);
  EXPECT_EQ(Items[0].ItemName, "Fixed2999");
}

TEST_F(SettingsFile, FailedSaveLeavesTheOldFileAndReportsFalse) {
  Register("Kept");
  Items.push_back(Launcher("Kept", "a", "b"));
  ASSERT_TRUE(SaveItems());
  const std::string before = Settings();
  Items.push_back(Launcher("Another", "c", "d"));

  // A read-only settings file cannot be replaced.
  ASSERT_TRUE(SetFileAttributesA(SettingsFilePath().c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(SaveItems());
  SetFileAttributesA(SettingsFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(Settings(), before);

  // A folder that cannot take the new file.
  const std::string savedFolder = UserFolder;
  UserFolder = ProgramFolder() + "no such folder\\";
  EXPECT_FALSE(SaveItems());
  UserFolder = savedFolder;
  EXPECT_EQ(Settings(), before);

  // Nothing is left behind beside the settings file.
  WIN32_FIND_DATAA found;
  const UniqueFind search(FindFirstFileA((UserFolder + "*.tmp").c_str(), &found));
  EXPECT_FALSE(search);
}

// The browser bridge's host reads the settings file whenever it changes. A
// save that meets such a reader waits for it, briefly, instead of failing;
// a reader that stays is a failed save that changes nothing.
TEST_F(SettingsFile, SaveWaitsBrieflyForAReaderOfTheFile) {
  Register("Kept");
  Items.push_back(Launcher("Kept", "a", "b"));
  ASSERT_TRUE(SaveItems());
  Register("Another");
  Items.push_back(Launcher("Another", "c", "d"));
  // Opened as the profile functions open a file to read it.
  const auto openReader = [] {
    return UniqueFile(CreateFileA(SettingsFilePath().c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  };

  // Held throughout: the save fails and the file stays as it was.
  const std::string before = Settings();
  {
    const UniqueFile reader = openReader();
    ASSERT_TRUE(reader);
    EXPECT_FALSE(SaveItems());
  }
  EXPECT_EQ(Settings(), before);
  WIN32_FIND_DATAA found;
  EXPECT_FALSE(UniqueFind(FindFirstFileA((UserFolder + "*.tmp").c_str(), &found)));

  // Held until the save has written its temporary file and so come to the
  // replace, which the reader holds up: the save waits and succeeds.
  UniqueFile reader = openReader();
  ASSERT_TRUE(reader);
  std::thread release([&reader] {
    WaitUntilInFolder(
        UserFolder,
        [] {
          WIN32_FIND_DATAA temporary;
          return static_cast<bool>(UniqueFind(FindFirstFileA((UserFolder + "*.tmp").c_str(), &temporary)));
        },
        10000);
    reader.reset();
  });
  const bool saved = SaveItems();
  release.join();
  EXPECT_TRUE(saved);
  LoadItems();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Another", "Kept"}));
}
