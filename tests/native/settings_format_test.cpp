#include <gtest/gtest.h>

#include <map>

#include "catalogue/item_sort.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/registry.h"
#include "catalogue/settings_format.h"
#include "catalogue/version_info.h"
#include "common/text_util.h"
#include "tests/harness/item_records.h"

namespace {

// Stands in for the platform's profile reader over an in-memory section:
// keys are case-insensitive, values trimmed and stripped of one pair of quotes.
struct FakeSection {
  std::map<std::string, std::string> values;
  std::set<std::string> registered;

  std::optional<std::string> Read(const std::string& key) const {
    auto it = values.find(ToUpperSjis(key));
    if (it == values.end()) return std::nullopt;
    std::string value = TrimBlanks(it->second);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return value;
  }
  void Set(const std::string& key, const std::string& value) { values[ToUpperSjis(key)] = value; }
  std::vector<ItemRecord> Load(int count) const {
    return ReadCatalogue([this](const std::string& k) { return Read(k); }, count,
                         [this](const std::string& name) { return registered.count(name) > 0; });
  }
};

FakeSection Launcher(const std::string& name, const std::string& contexts) {
  FakeSection section;
  section.Set("ItemName1", name);
  section.Set("AplPath1", "C:\\Tools\\viewer.exe");
  section.Set("Contexts1", contexts);
  section.registered.insert(name);
  return section;
}

}  // namespace

TEST(SettingsFormat, QuotingSurvivesTheReader) {
  const std::string values[] = {"\"C:\\a b\\x.exe\"", "'abc'", "\"", "'", "\"a'", "plain", "", "\"\""};
  for (const std::string& value : values) {
    FakeSection section;
    section.Set("K", QuoteForProfile(value));
    EXPECT_EQ(section.Read("K").value(), value) << value;
  }
}

TEST(SettingsFormat, CommentRoundTrip) {
  EXPECT_EQ(EncodeComment("first line\r\nsecond line"), "first line\\nsecond line");
  EXPECT_EQ(DecodeComment("first line\\nsecond line"), "first line\r\nsecond line");
  // A typed backslash-n comes back as a line break; \N is not one.
  EXPECT_EQ(DecodeComment("a\\nb\\Nc"), "a\r\nb\\Nc");
  EXPECT_EQ(EncodeComment("\"quoted\r\ncomment\""), "\"\"quoted\\ncomment\"\"");
}

TEST(SettingsFormat, ProfileIntegers) {
  struct Case {
    std::optional<std::string> value;
    int defaultValue;
    std::optional<int> expected;
  } cases[] = {
      {std::nullopt, 1, 1},
      {std::string(""), 1, 1},
      {std::string("3"), 1, 3},
      {std::string("12abc"), 0, 12},
      {std::string("abc"), 1, 0},
      {std::string("-1"), 1, 0},
      {std::string("32767"), 0, 32767},
      {std::string("32768"), 0, std::nullopt},
      {std::string("65537"), 0, std::nullopt},
      {std::string("99999999999999999999999"), 0, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseProfileInt(c.value, c.defaultValue), c.expected) << c.value.value_or("<absent>");
}

TEST(SettingsFormat, NumericText) {
  for (const char* yes : {"1010", "0001", "1e10", "-101", "+1.5", "1.e5", ".101"})
    EXPECT_TRUE(IsNumericText(yes)) << yes;
  for (const char* no : {"1x01", "abcd", "", "e101", "1e+", "..11", "1 01", "----"})
    EXPECT_FALSE(IsNumericText(no)) << no;
}

TEST(SettingsFormat, LauncherAcceptanceAndContextFlags) {
  struct Case {
    std::string contexts;
    bool accepted;
    std::array<int16_t, 4> flags;
  } cases[] = {
      {"1010", true, {1, 0, 1, 0}}, {"0001", true, {0, 0, 0, 1}},
      {"1e10", true, {1, 0, 1, 0}}, {"10", false, {}},
      {"abcd", false, {}},          {"1x01", false, {}},
      {"10100", false, {}},         {"-101", true, {0, 1, 0, 1}},
  };
  for (const Case& c : cases) {
    const auto records = Launcher("Viewer", c.contexts).Load(1);
    ASSERT_EQ(records.size(), c.accepted ? 1u : 0u) << c.contexts;
    if (c.accepted) {
      EXPECT_EQ(records[0].Contexts, c.flags) << c.contexts;
    }
  }
}

TEST(SettingsFormat, RepairRules) {
  struct Case {
    const char* key;
    std::optional<std::string> value;
    int16_t ItemRecord::*field;
    int16_t expected;
  } cases[] = {
      {"WindowStyle1", std::nullopt, &ItemRecord::WindowStyle, 1},
      {"WindowStyle1", "7", &ItemRecord::WindowStyle, 1},
      {"WindowStyle1", "3", &ItemRecord::WindowStyle, 3},
      {"WindowStyle1", "-1", &ItemRecord::WindowStyle, 0},
      {"WindowStyle1", "65536", &ItemRecord::WindowStyle, 1},
      {"WindowStyle1", "65539", &ItemRecord::WindowStyle, 1},
      {"ConfCmdLine1", "1", &ItemRecord::ConfCmdLine, 1},
      {"ConfCmdLine1", "2", &ItemRecord::ConfCmdLine, 0},
      {"ConfCmdLine1", "65537", &ItemRecord::ConfCmdLine, 0},
      {"FixedString1", "2", &ItemRecord::FixedString, 0},
      {"FixedString1", "65537", &ItemRecord::FixedString, 0},
  };
  for (const Case& c : cases) {
    FakeSection section = Launcher("Viewer", "1000");
    if (c.value) section.Set(c.key, *c.value);
    const auto records = section.Load(1);
    ASSERT_EQ(records.size(), 1u) << c.key << "=" << c.value.value_or("<absent>");
    EXPECT_EQ(records[0].*c.field, c.expected) << c.key << "=" << c.value.value_or("<absent>");
  }
}

TEST(SettingsFormat, RefusedItemsLeaveNoGapAndFixedStringsDropLauncherFields) {
  FakeSection section;
  for (const char* name : {"One", "Two", "Three", "Four"}) section.registered.insert(name);
  section.Set("ItemName1", "One");
  section.Set("AplPath1", "C:\\a.exe");
  section.Set("Contexts1", "1000");
  section.Set("ItemName2", "Two");  // no AplPath2: refused
  section.Set("Contexts2", "1000");
  section.Set("ItemName3", "Three");
  section.Set("FixedString3", "1");
  section.Set("Argments3", "<Y4>");
  section.Set("AplPath3", "C:\\ignored.exe");
  section.Set("Contexts3", "1111");
  section.Set("WindowStyle3", "3");
  section.Set("ConfCmdLine3", "1");
  section.Set("ItemName4", "Unregistered");
  section.Set("FixedString4", "1");
  const auto records = section.Load(4);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].ItemName, "One");
  EXPECT_EQ(records[1].ItemName, "Three");
  EXPECT_EQ(records[1].AplPath, "");
  EXPECT_EQ(records[1].Contexts, (std::array<int16_t, 4>{}));
  EXPECT_EQ(records[1].WindowStyle, 0);
  EXPECT_EQ(records[1].ConfCmdLine, 0);

  const auto entries = CatalogueEntries(records);
  std::vector<std::string> keys;
  for (const auto& entry : entries) keys.push_back(entry.first);
  EXPECT_EQ(keys, (std::vector<std::string>{"ItemCount", "ItemName1", "FixedString1", "Argments1", "Comment1",
                                            "AplPath1", "Contexts1", "WindowStyle1", "ConfCmdLine1",
                                            "ItemName2", "FixedString2", "Argments2", "Comment2"}));
  EXPECT_EQ(entries[0].second, "2");
  EXPECT_EQ(entries[6].second, "1000");
}

TEST(SettingsFormat, SectionValuesReadLikeTheSingleValueReader) {
  const std::string file =
      "[Other]\r\nItemCount=9\r\n [ itemlist ] \r\nItemCount=2\r\nitemname1 = \"\"quoted\"\" \r\n"
      "ItemName1=second\nComment1=\t'single'\t\r\nArgments1=\"\r\n\r\nBare\r\nMixed=\"a'\r\n"
      "[ItemList]\r\nLater=1\r\n";
  const auto found = IniSectionValues(file, "ItemList");
  ASSERT_TRUE(found.has_value());
  const auto& values = *found;
  EXPECT_EQ(values.at("ITEMCOUNT"), "2") << "the section of that name, not another";
  EXPECT_EQ(values.at("ITEMNAME1"), "\"quoted\"") << "first occurrence, one pair of quotes removed";
  EXPECT_EQ(values.at("COMMENT1"), "single") << "a line that ends in LF alone";
  EXPECT_EQ(values.at("ARGMENTS1"), "\"") << "a lone quote is no pair";
  EXPECT_EQ(values.at("BARE"), "") << "an empty line does not end the section";
  EXPECT_EQ(values.at("MIXED"), "\"a'");
  EXPECT_EQ(values.count("LATER"), 0u) << "only the first section of the name counts";
  EXPECT_FALSE(IniSectionValues("[ItemListX]\r\nItemCount=1\r\n", "ItemList").has_value());
  EXPECT_FALSE(IniSectionValues("", "ItemList").has_value());
  EXPECT_TRUE(IniSectionValues("[ItemList]", "ItemList").value().empty());
}

TEST(SettingsFormat, TheOneReaderRepairsFiltersAndSorts) {
  const std::string file =
      "[ItemList]\r\nItemCount=4\r\n"
      "ItemName1=b\r\nAplPath1=C:\\b.exe\r\nContexts1=1000\r\nWindowStyle1=7\r\n"
      "ItemName2=unregistered\r\nFixedString2=1\r\n"
      "ItemName3=A\r\nFixedString3=1\r\nArgments3=text\r\nAplPath3=C:\\x.exe\r\n"
      "ItemName4=c\r\nAplPath4=C:\\c.exe\r\nContexts4=1x01\r\n";
  const auto records = ReadCatalogueText(
      file, [](const std::string& name) { return name != "unregistered"; },
      [](const std::string& a, const std::string& b) { return ToUpperSjis(a) < ToUpperSjis(b); });
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].ItemName, "A");
  EXPECT_EQ(records[0].AplPath, "") << "a fixed-string item keeps no path";
  EXPECT_EQ(records[1].ItemName, "b");
  EXPECT_EQ(records[1].WindowStyle, 1);
  // A count the keys do not back is not believed.
  const auto many = ReadCatalogueText(
      "[ItemList]\r\nItemCount=32767\r\nItemName1=x\r\nFixedString1=1\r\n",
      [](const std::string&) { return true; },
      [](const std::string& a, const std::string& b) { return a < b; });
  EXPECT_EQ(many.size(), 1u);
}

TEST(SettingsFormat, FilesSavedInUnicodeAreReadInCodePage932) {
  // Stands in for the platform's conversion: ASCII and one Japanese letter.
  const ToCodePage932 convert = [](std::u16string_view text, bool* exact) {
    std::string out;
    for (const char16_t c : text) {
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else if (c == u'\u3042') {
        out += "\x82\xA0";
      } else {
        out += '?';
        *exact = false;
      }
    }
    return out;
  };
  const struct {
    std::string bytes, text;
    bool exact;
  } cases[] = {
      {"[A]\r\nx=\x82\xA0", "[A]\r\nx=\x82\xA0", true},
      {"\xEF\xBB\xBF[A]\r\nx=\xE3\x81\x82", "[A]\r\nx=\x82\xA0", true},
      {"\xEF\xBB\xBFx=\xE3\x81", "x=?", false},
      {std::string("\xFF\xFE[\0A\0]\0=\0\x42\x30", 12), "[A]=\x82\xA0", true},
      {std::string("\xFE\xFF\0x\x26\x3A", 6), "x?", false},
      {std::string("\xFF\xFEx\0y", 5), "x", false},
  };
  for (const auto& c : cases) {
    bool exact = true;
    EXPECT_EQ(SettingsTextFromBytes(c.bytes, convert, &exact), c.text) << c.text;
    EXPECT_EQ(exact, c.exact) << c.text;
  }
}

TEST(SettingsFormat, ReplaceIniSectionKeepsEveryOtherLine) {
  const std::vector<std::pair<std::string, std::string>> entries = {{"ItemCount", "1"}, {"ItemName1", "A"}};
  const std::string fresh = "[ItemList]\r\nItemCount=1\r\nItemName1=A\r\n";
  struct Case {
    std::string before, after;
  } cases[] = {
      {"", fresh},
      {"[itemlist]\r\nItemCount=5\r\nold=1\r\n", fresh},
      {"[A]\r\nx=1\r\n[ ItemList ]\r\nold=1\r\n[B]\ny=2\n", "[A]\r\nx=1\r\n" + fresh + "[B]\ny=2\n"},
      {"; note\r\n[A]\r\nx=1", "; note\r\n[A]\r\nx=1\r\n" + fresh},
      {"[ItemList]\r\na=1\r\n[ItemList]\r\nb=2\r\n", fresh + "[ItemList]\r\nb=2\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReplaceIniSection(c.before, "ItemList", entries), c.after) << c.before;
}

TEST(ItemSort, MiddlePivotQuicksortOrder) {
  const auto ciLess = [](const std::string& a, const std::string& b) {
    return ToUpperSjis(a) < ToUpperSjis(b);
  };
  std::vector<ItemRecord> records;
  for (const char* name : {"b", "B", "a", "c", "A", "b"}) records.push_back(NamedItem(name));
  SortItems(records, 0, static_cast<int>(records.size()) - 1, ciLess);
  std::vector<std::string> names;
  for (const auto& r : records) names.push_back(r.ItemName);
  // Equal names come out in the order this procedure gives them.
  EXPECT_EQ(names, (std::vector<std::string>{"a", "A", "b", "B", "b", "c"}));
}

TEST(ItemSort, LargeSortedAndReversedInputs) {
  const auto less = [](const std::string& a, const std::string& b) { return a < b; };
  for (const bool reversed : {false, true}) {
    std::vector<ItemRecord> records;
    for (int i = 0; i < 5000; ++i) {
      char name[16];
      snprintf(name, sizeof name, "%05d", reversed ? 4999 - i : i);
      records.push_back(NamedItem(name));
    }
    SortItems(records, 0, 4999, less);
    for (int i = 1; i < 5000; ++i) ASSERT_LT(records[i - 1].ItemName, records[i].ItemName);
  }
}

TEST(MenuRegistration, ContextsMask) {
  EXPECT_EQ(ContextsMask(false, {true, true, true, true}), 0x33u);
  EXPECT_EQ(ContextsMask(false, {false, false, false, true}), 0x10u);
  EXPECT_EQ(ContextsMask(false, {false, false, true, false}), 0x20u);
  EXPECT_EQ(ContextsMask(false, {true, true, false, false}), 0x03u);
  EXPECT_EQ(ContextsMask(true, {true, true, true, true}), 0x04u);
  EXPECT_EQ(MenuEntryKey("  A&B  "), "Software\\Microsoft\\Internet Explorer\\MenuExt\\A&B");
}

TEST(ProgramPaths, UserFolderAndScriptPath) {
  EXPECT_EQ(UserFolderFor("C:\\Tools\\Orbisk\\", "user1"), "C:\\Tools\\Orbisk\\user\\user1\\");
  EXPECT_EQ(UserFolderFor("C:\\", "user1"), "C:\\user\\user1\\");
  EXPECT_EQ(UserFolderFor("C:\\", ""), "C:\\user\\\\");
  UserFolder = "C:\\u\\";
  EXPECT_EQ(ScriptFilePath("  My Item "), "C:\\u\\My Item.html");
  UserFolder.clear();
}

TEST(VersionInfo, FormatVersionText) {
  EXPECT_EQ(FormatVersionText(1, 16, 0), "1.16");
  EXPECT_EQ(FormatVersionText(1, 5, 0), "1.05");
  EXPECT_EQ(FormatVersionText(1, 16, 2), "1.16.2");
  EXPECT_EQ(FormatVersionText(2, 0, 0), "2.00");
}

TEST(MenuRegistration, KeyPathSplitsAtItsLastWholeBackslash) {
  struct Case {
    std::string path, parent, name;
  } cases[] = {
      {MenuEntryKey("Item"), "Software\\Microsoft\\Internet Explorer\\MenuExt", "Item"},
      {MenuEntryKey(std::string(245, 'a')), "Software\\Microsoft\\Internet Explorer\\MenuExt",
       std::string(245, 'a')},
      // 表 and ソ end in the byte of a backslash.
      {MenuEntryKey("表ソ"), "Software\\Microsoft\\Internet Explorer\\MenuExt", "表ソ"},
      {"Software\\表", "Software", "表"},
      {"Software", "", "Software"},
      {"Software\\", "Software", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const KeyPathParts parts = SplitKeyPath(c.path);
    EXPECT_EQ(parts.parent, c.parent) << c.path;
    EXPECT_EQ(parts.name, c.name) << c.path;
  }
}
