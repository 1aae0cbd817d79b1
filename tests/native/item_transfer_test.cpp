// Reading an item file for an import: a file Orbisk wrote reads back as it
// was; any other file is taken only when it is an item list that could have
// been written, and otherwise says why.
#include <gtest/gtest.h>

#include "catalogue/item_transfer.h"
#include "mainwindow/list_rules.h"
#include "tests/harness/item_records.h"
#include "tests/native/code_page.h"

namespace {

// The platform's conversion to code page 932, without look-alikes.
std::string ToCp932(std::u16string_view text, bool* exact) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); i += CharacterLength(text, i)) {
    const std::string converted = IconvCharacter("CP932", text.substr(i, CharacterLength(text, i)));
    if (converted.empty()) {
      out += '?';
      *exact = false;
    } else {
      out += converted;
    }
  }
  return out;
}

const std::string kFolder = "C:\\Users\\ユーザー\\AppData\\Local\\Programs\\Orbisk\\user\\taro\\";

ItemFile Read(std::string_view bytes) { return ReadItemFile(bytes, ToCp932, kFolder); }

std::vector<ItemRecord> SampleRecords() {
  ItemRecord launcher =
      LauncherRecord("ページを開く", "C:\\Tools\\表示.exe", "\"<TU>\" --title=<TT>", {1, 0, 1, 1});
  launcher.Comment = "一行目\r\n二行目";
  launcher.WindowStyle = 3;
  launcher.ConfCmdLine = 1;
  ItemRecord quoted = LauncherRecord("'quoted'", "C:\\a b\\x.exe", "\"C:\\a b\\doc.txt\"", {0, 0, 0, 1});
  ItemRecord fixed;
  fixed.ItemName = "挨拶";
  fixed.FixedString = 1;
  fixed.Argments = "お世話になっております。<\\N><DATE>";
  return {launcher, quoted, fixed};
}

// Code page 932 text as an editor saves it in UTF-8 (characters of the
// basic plane only).
std::string Utf8Of(const std::string& cp932) {
  std::string utf8;
  for (const char16_t c : Cp932ToUtf16(cp932)) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      utf8 += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
               static_cast<char>(0x80 | (c & 0x3F))};
    }
  }
  return utf8;
}

// A valid export of one launcher item with one line replaced (or added).
std::string ExportWith(const std::string& from, const std::string& to) {
  std::string text = ExportFileText({LauncherRecord("Viewer", "C:\\v.exe", "<TU>", {1, 0, 0, 0})});
  const auto at = text.find(from);
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

}  // namespace

TEST(ItemTransfer, AnExportReadsBackRecordForRecord) {
  const std::vector<ItemRecord> records = SampleRecords();
  const std::string text = ExportFileText(records);
  EXPECT_EQ(text.rfind("[ItemList]\r\nItemCount=3\r\n", 0), 0u);
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "lines end in CR LF";
  const ItemFile file = Read(text);
  ASSERT_EQ(file.problem, "");
  EXPECT_EQ(file.records, records) << "in file order, not sorted";
  // The same items saved by an editor in UTF-8 and UTF-16, with and without a mark.
  std::u16string wide = Cp932ToUtf16(text);
  std::string utf16 = "\xFF\xFE";
  for (const char16_t c : wide) utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  const std::string utf8 = Utf8Of(text);
  for (const std::string& saved : {utf16, utf8, "\xEF\xBB\xBF" + utf8}) {
    const ItemFile again = Read(saved);
    EXPECT_EQ(again.problem, "");
    EXPECT_EQ(again.records, records);
  }
}

TEST(ItemTransfer, UtfEightWithoutAMarkIsReadAsSuchWhereItsBytesPassForShiftJisToo) {
  // Names whose UTF-8 bytes are valid Shift_JIS as well, and one that is not;
  // half-width kana in Shift_JIS that are not valid UTF-8.
  const struct {
    std::string bytes, name;
  } cases[] = {
      {Utf8Of(ExportFileText({FixedStringRecord("メモ帳で開く", "こんにちは")})), "メモ帳で開く"},
      {Utf8Of(ExportFileText({FixedStringRecord("あいさつ", "翻訳する")})), "あいさつ"},
      {Utf8Of(ExportFileText({FixedStringRecord("保存", "x")})), "保存"},
      {ExportFileText({FixedStringRecord("ﾒﾓ", "x")}), "ﾒﾓ"},
  };
  for (const auto& c : cases) {
    const ItemFile file = Read(c.bytes);
    EXPECT_EQ(file.problem, "") << c.name;
    ASSERT_EQ(file.records.size(), 1u) << c.name;
    EXPECT_EQ(file.records[0].ItemName, c.name);
  }
  // UTF-8 of letters code page 932 lacks, whose bytes pass for half-width
  // kana in Shift_JIS ("ü" is C3 BC, "ﾃｼ"): refused as with a mark, never
  // imported as kana.
  const ItemFile accented = Read(
      "[ItemList]\r\nItemCount=1\r\nItemName1=M\xC3\xBCller\r\nFixedString1=1\r\n"
      "Argments1=x\r\n");
  EXPECT_EQ(accented.problem.rfind("Shift_JIS で表せない文字が含まれています。", 0), 0u) << accented.problem;
  EXPECT_TRUE(accented.records.empty());
}

TEST(ItemTransfer, FilesThatCannotBeTakenSayWhy) {
  const std::string longField(kMaxFieldBytes + 1, 'x');
  const std::string exported = ExportFileText(SampleRecords());
  const struct {
    std::string bytes;
    std::string problem;  // the beginning of the message
  } cases[] = {
      {std::string("MZ\x90\0\3\0\0\0", 8), "テキストのファイルではありません。"},
      {std::string("[ItemList]\r\nItemCount=1\r\nItemName1=a\0c\r\n", 40),
       "テキストのファイルではありません。"},
      {"\xFF\xFE\x3D\xD8\x00\xDE", "Shift_JIS で表せない文字が含まれています。"},    // U+1F600 in UTF-16
      {"[ItemList]\r\nItemCount=1\r\nItemName1=\xE2\x9C\x93\r\nFixedString1=1\r\n",  // U+2713 in UTF-8
       "Shift_JIS で表せない文字が含まれています。"},
      {"; notes\r\n[Other]\r\nItemCount=1\r\n", "Orbisk の項目のファイルではありません"},
      {"", "Orbisk の項目のファイルではありません"},
      {"[ItemList]\r\nItemName1=a\r\n", "項目の数 (ItemCount) がないか"},
      {"[ItemList]\r\nItemCount=x\r\n", "項目の数 (ItemCount) がないか"},
      {"[ItemList]\r\nItemCount=99999\r\n", "項目の数 (ItemCount) がないか"},
      {exported.substr(0, exported.rfind("ItemName3")), "項目 3 がありません。"},
      {exported.substr(0, exported.find("AplPath2")),
       "項目 2「'quoted'」にアプリケーションのパス (AplPath2) がありません。"},
      {exported.substr(0, exported.rfind("Contexts2") + 11),
       "項目 2「'quoted'」の表示方法 (Contexts2) が正しくありません。"},
      {ExportWith("ItemCount=1", "ItemCount=0"), "項目の数 (ItemCount=0) より多くの項目があります。"},
      {ExportWith("Contexts1=1000", "Contexts1=1e10"), "項目 1「Viewer」の表示方法 (Contexts1)"},
      {ExportWith("WindowStyle1=1", "WindowStyle1=7"),
       "項目 1「Viewer」の WindowStyle1 が正しくありません。"},
      {ExportWith("FixedString1=0", "FixedString1=2"),
       "項目 1「Viewer」の FixedString1 が正しくありません。"},
      {ExportWith("Argments1=<TU>", "Argments1=" + longField),
       "項目 1「Viewer」の Argments1 が長すぎます（8192 バイトまで）。"},
      {ExportWith("ItemName1=Viewer", "ItemName1=CON"),
       "項目 1「CON」: この名前は予約デバイス名のため、使用できません。"},
      {ExportWith("ItemName1=Viewer", "ItemName1=..\\..\\evil"),
       "項目 1「..\\..\\evil」: 項目名に \\ / : * ? \" < > | は使用できません。"},
      {ExportWith("ItemName1=Viewer", "ItemName1=" + std::string(200, 'n')), "項目 1「nnn"},
      {ExportWith("ItemName1=Viewer", "ItemName1=   "), "項目 1: 項目名が入力されていません。"},
      {ExportWith("AplPath1=C:\\v.exe", "AplPath1= "),
       "項目 1「Viewer」: アプリケーションのパスが入力されていません。"},
      {ExportFileText({LauncherRecord("Viewer", "C:\\v.exe", "", {1, 0, 0, 0}),
                       LauncherRecord("VIEWER", "C:\\w.exe", "", {1, 0, 0, 0})}),
       "項目名「VIEWER」がファイルの中に 2 度あります。"},
  };
  for (const auto& c : cases) {
    const ItemFile file = Read(c.bytes);
    EXPECT_EQ(file.problem.rfind(c.problem, 0), 0u) << c.problem << "\n got: " << file.problem;
    EXPECT_TRUE(file.records.empty()) << c.problem;
  }
}

TEST(ItemTransfer, WhatAnItemMayLackOrHoldStillReads) {
  // A hand-written file: no FixedString, WindowStyle or ConfCmdLine keys, no
  // line break at the end, an empty list; and a launcher with no contexts,
  // which the dialog's own check refuses item by item, not the file.
  const struct {
    std::string bytes;
    std::size_t items;
  } cases[] = {
      {"[ItemList]\r\nItemCount=1\r\nItemName1=Viewer\r\nAplPath1=C:\\v.exe\r\nContexts1=0010", 1},
      {"[ItemList]\nItemCount=0\n", 0},
      {ExportWith("Contexts1=1000", "Contexts1=0000"), 1},
  };
  for (const auto& c : cases) {
    const ItemFile file = Read(c.bytes);
    EXPECT_EQ(file.problem, "") << c.bytes;
    EXPECT_EQ(file.records.size(), c.items) << c.bytes;
  }
}

TEST(ItemTransfer, FreeNamesDefaultNameAndReports) {
  const std::vector<std::string> taken = {"Viewer", "viewer (2)", "Other"};
  EXPECT_EQ(FreeItemName("Viewer", taken), "Viewer (3)");
  EXPECT_EQ(FreeItemName("VIEWER", taken), "VIEWER (3)");
  EXPECT_EQ(FreeItemName("New", taken), "New");
  EXPECT_EQ(DefaultExportFileName(2026, 12, 8), "Orbisk-items-20261208.ini");

  ImportReport report;
  report.added = {"A"};
  report.skipped = {"B", "C"};
  for (int i = 0; i < 12; ++i)
    report.refused.emplace_back("R" + std::to_string(i), "アプリケーションがみつかりません。");
  EXPECT_EQ(ImportLogText(report).rfind(
                "追加: A\r\nスキップ（登録済み）: B\r\nスキップ（登録済み）: C\r\n登録できず: R0: ", 0),
            0u);
  EXPECT_NE(
      ImportLogText(report).find("インポート: 追加 1 件、置き換え 0 件、スキップ 2 件、登録できず 12 件\r\n"),
      std::string::npos);
  const std::string summary = ImportSummaryText(report);
  EXPECT_NE(summary.find("登録できなかった項目: 12 件"), std::string::npos);
  EXPECT_NE(summary.find("・R9: アプリケーションがみつかりません。"), std::string::npos);
  EXPECT_EQ(summary.find("・R10"), std::string::npos) << "the box stays on the screen";
  EXPECT_NE(summary.find("…ほか 2 件"), std::string::npos);
}

TEST(MainWindowRules, StartArgumentsAndDroppedItemFiles) {
  using K = StartAction::Kind;
  const struct {
    std::vector<std::string> arguments;
    K kind;
    std::string file;
    bool quiet;
  } cases[] = {
      {{}, K::Window, "", false},
      {{"/export", "C:\\a b\\items.ini"}, K::Export, "C:\\a b\\items.ini", false},
      {{"-EXPORT", "x.ini"}, K::Export, "x.ini", false},
      {{"/import", "x.ini"}, K::Import, "x.ini", false},
      {{"/Import", "x.ini", "/QUIET"}, K::Import, "x.ini", true},
      {{"/import"}, K::Usage, "", false},
      {{"/import", ""}, K::Usage, "", false},
      {{"/import", "x.ini", "/force"}, K::Usage, "x.ini", false},
      {{"/import", "a.ini", "b.ini"}, K::Usage, "", false},
      {{"/help"}, K::Usage, "", false},
      {{"C:\\Users\\taro\\items.ini"}, K::Window, "", false},
      // /quiet anywhere: no window and no box, whatever else is wrong.
      {{"/quiet", "/import", "x.ini"}, K::Import, "x.ini", true},
      {{"/import", "-Quiet", "x.ini"}, K::Import, "x.ini", true},
      {{"/export", "x.ini", "/quiet"}, K::Export, "x.ini", true},
      {{"/quiet"}, K::Usage, "", true},
      {{"/import", "/quiet"}, K::Usage, "", true},
      {{"/import", "x.ini", "/force", "/quiet"}, K::Usage, "", true},
      {{"C:\\Users\\taro\\items.ini", "/quiet"}, K::Usage, "", true},
  };
  for (const auto& c : cases) {
    const StartAction action = ReadStartArguments(c.arguments);
    EXPECT_EQ(action.kind, c.kind) << testing::PrintToString(c.arguments);
    if (c.kind != K::Usage) {
      EXPECT_EQ(action.file, c.file);
    }
    EXPECT_EQ(action.quiet, c.quiet);
  }
  EXPECT_TRUE(IsItemFileDrop("C:\\Shared\\TEAM.INI", PathKind::File));
  EXPECT_FALSE(IsItemFileDrop("C:\\Shared\\team.ini", PathKind::Folder));
  EXPECT_FALSE(IsItemFileDrop("C:\\$Recycle.Bin\\S-1\\$R1.ini", PathKind::File));
  EXPECT_FALSE(IsItemFileDrop("C:\\Shared\\viewer.exe", PathKind::File));
}
