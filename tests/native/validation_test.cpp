#include "catalogue/validation.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// Messages the user must see, byte for byte (code page 932 once compiled).
const std::string kNameEmpty = "項目名が入力されていません。";
const std::string kNameUnchanged = "項目名が変更されていません。";
const std::string kNameForbidden = "項目名に \\ / : * ? \" < > | は使用できません。";
const std::string kNameControl = "項目名に不正な文字（改行コード等）が含まれています。";
const std::string kNameReserved = "この名前は予約デバイス名のため、使用できません。";
const std::string kNameTooLong = "項目名が長すぎます。";
const std::string kNameTaken = "この名前は登録済みです。";
const std::string kParameterControl = "パラメータに不正な文字（改行コード等）が含まれています。";
const std::string kParameterEmpty = "パラメータが入力されていません。";
const std::string kPathEmpty = "アプリケーションのパスが入力されていません。";
const std::string kPathControl = "アプリケーションのパスに不正な文字（改行コード等）が含まれています。";
const std::string kAppMissing = "アプリケーションがみつかりません。";
const std::string kNoContext = "表示方法がひとつもチェックされていません。";

const std::string kApp = "C:\\Tools\\viewer.exe";

PathKind FakeDisk(const std::string& path) {
  if (path == kApp) return PathKind::File;
  if (path == "C:\\Tools" || path == "C:\\Tools\\") return PathKind::Folder;
  return PathKind::Missing;
}

// A launcher item that passes every check.
ValidationInput Valid() {
  ValidationInput in;
  in.change = ItemChange::Add;
  in.nameField = "Viewer";
  in.parameterField = "<AU>";
  in.pathField = kApp;
  in.contexts = {false, false, true, false};
  in.itemNames = {"Other", "表示"};
  in.scriptFolder = "C:\\Orbisk\\user\\u1\\";
  return in;
}

struct Case {
  const char* what;
  std::function<void(ValidationInput&)> change;
  std::string message;  // "" when the input passes
  FocusField focus;
};

}  // namespace

TEST(Validation, ChecksInOrderWithMessageAndFocus) {
  const std::string folder200(200, 'f');
  const Case cases[] = {
      {"valid launcher", [](ValidationInput&) {}, "", FocusField::None},
      {"blank name in add", [](ValidationInput& in) { in.nameField = "   "; }, kNameEmpty,
       FocusField::ItemName},
      {"empty name in rename",
       [](ValidationInput& in) {
         in.change = ItemChange::Rename;
         in.nameField = "";
       },
       kNameEmpty, FocusField::ItemName},
      {"edit skips the empty-name and duplicate checks",
       [](ValidationInput& in) {
         in.change = ItemChange::Edit;
         in.nameField = "Other";
       },
       "", FocusField::None},
      {"rename to own name with blanks",
       [](ValidationInput& in) {
         in.change = ItemChange::Rename;
         in.storedName = "Viewer";
         in.nameField = " Viewer  ";
       },
       kNameUnchanged, FocusField::ItemName},
      {"rename changing only the case: the item gives its own key and file up",
       [](ValidationInput& in) {
         in.change = ItemChange::Rename;
         in.storedName = "Viewer";
         in.itemNames = {"Alpha", "Viewer", "Zeta"};
         in.nameField = "viewer";
       },
       "", FocusField::None},
      {"rename changing only the case still collides with another item of that name",
       [](ValidationInput& in) {
         in.change = ItemChange::Rename;
         in.storedName = "Viewer";
         in.itemNames = {"VIEWER", "Viewer"};
         in.nameField = "viewer";
       },
       kNameTaken, FocusField::ItemName},
      {"add with a name differing only in case from a listed one",
       [](ValidationInput& in) {
         in.itemNames = {"Viewer"};
         in.nameField = "VIEWER";
       },
       kNameTaken, FocusField::ItemName},
      {"rename to a new name",
       [](ValidationInput& in) {
         in.change = ItemChange::Rename;
         in.storedName = "Viewer";
         in.itemNames.push_back("Viewer");
         in.nameField = "Viewer 2";
       },
       "", FocusField::None},
      {"backslash", [](ValidationInput& in) { in.nameField = "a\\b"; }, kNameForbidden, FocusField::ItemName},
      {"slash", [](ValidationInput& in) { in.nameField = "a/b"; }, kNameForbidden, FocusField::ItemName},
      {"colon", [](ValidationInput& in) { in.nameField = "a:b"; }, kNameForbidden, FocusField::ItemName},
      {"asterisk", [](ValidationInput& in) { in.nameField = "*"; }, kNameForbidden, FocusField::ItemName},
      {"question mark", [](ValidationInput& in) { in.nameField = "a?"; }, kNameForbidden,
       FocusField::ItemName},
      {"double quote", [](ValidationInput& in) { in.nameField = "\"a\""; }, kNameForbidden,
       FocusField::ItemName},
      {"less than", [](ValidationInput& in) { in.nameField = "<a"; }, kNameForbidden, FocusField::ItemName},
      {"greater than", [](ValidationInput& in) { in.nameField = "a>"; }, kNameForbidden,
       FocusField::ItemName},
      {"bar", [](ValidationInput& in) { in.nameField = "a|b"; }, kNameForbidden, FocusField::ItemName},
      {"full-width question mark and bar pass", [](ValidationInput& in) { in.nameField = "？｜"; }, "",
       FocusField::None},
      {"trail bytes 0x5C and 0x7C are no forbidden characters",
       [](ValidationInput& in) { in.nameField = "ソポ表"; }, "",
       FocusField::None},  // ソ 83 5C, ポ 83 7C, 表 95 5C
      {"tab in name", [](ValidationInput& in) { in.nameField = "a\tb"; }, kNameControl, FocusField::ItemName},
      {"line feed in name", [](ValidationInput& in) { in.nameField = "a\nb"; }, kNameControl,
       FocusField::ItemName},
      {"carriage return in name", [](ValidationInput& in) { in.nameField = "a\rb"; }, kNameControl,
       FocusField::ItemName},
      {"reserved name", [](ValidationInput& in) { in.nameField = "Com3"; }, kNameReserved,
       FocusField::ItemName},
      {"reserved name with an extension", [](ValidationInput& in) { in.nameField = "CON.txt"; },
       kNameReserved, FocusField::ItemName},
      {"folder plus name plus 5 is 255 bytes",
       [&](ValidationInput& in) {
         in.scriptFolder = folder200;
         in.nameField = std::string(50, 'n');
       },
       "", FocusField::None},
      {"one byte more",
       [&](ValidationInput& in) {
         in.scriptFolder = folder200;
         in.nameField = std::string(51, 'n');
       },
       kNameTooLong, FocusField::ItemName},
      {"double-byte characters count two",
       [&](ValidationInput& in) {
         in.scriptFolder = folder200;
         in.nameField.clear();
         for (int i = 0; i < 25; ++i) in.nameField += "\x82\xA0";  // あ
         in.nameField += "n";
       },
       kNameTooLong, FocusField::ItemName},
      {"listed name", [](ValidationInput& in) { in.nameField = "Other"; }, kNameTaken, FocusField::ItemName},
      {"listed name in another letter case", [](ValidationInput& in) { in.nameField = " oTHER "; },
       kNameTaken, FocusField::ItemName},
      {"listed double-byte name", [](ValidationInput& in) { in.nameField = "表示"; }, kNameTaken,
       FocusField::ItemName},
      {"tab in parameter", [](ValidationInput& in) { in.parameterField = "a\tb"; }, kParameterControl,
       FocusField::Argments},
      {"tab in fixed string",
       [](ValidationInput& in) {
         in.fixedString = true;
         in.parameterField = "a\tb";
       },
       kParameterControl, FocusField::Argments},
      {"blank fixed string",
       [](ValidationInput& in) {
         in.fixedString = true;
         in.parameterField = "   ";
       },
       kParameterEmpty, FocusField::Argments},
      {"fixed string needs no path or contexts",
       [](ValidationInput& in) {
         in.fixedString = true;
         in.pathField = "";
         in.contexts = {};
         in.parameterField = " x ";
       },
       "", FocusField::None},
      {"launcher with an empty template", [](ValidationInput& in) { in.parameterField = ""; }, "",
       FocusField::None},
      {"blank path", [](ValidationInput& in) { in.pathField = "  "; }, kPathEmpty, FocusField::AplPath},
      {"tab in path", [](ValidationInput& in) { in.pathField = "C:\\Tools\\\tviewer.exe"; }, kPathControl,
       FocusField::AplPath},
      {"path of a folder", [](ValidationInput& in) { in.pathField = "C:\\Tools"; }, kAppMissing,
       FocusField::AplPath},
      {"missing application", [](ValidationInput& in) { in.pathField = "C:\\Tools\\none.exe"; }, kAppMissing,
       FocusField::AplPath},
      {"path is looked up trimmed", [](ValidationInput& in) { in.pathField = "  " + kApp + " "; }, "",
       FocusField::None},
      {"no context", [](ValidationInput& in) { in.contexts = {}; }, kNoContext, FocusField::FirstContext},
      {"first failing check wins",
       [](ValidationInput& in) {
         in.nameField = "NUL";
         in.parameterField = "\t";
         in.contexts = {};
       },
       kNameReserved, FocusField::ItemName},
      {"parameter before path",
       [](ValidationInput& in) {
         in.parameterField = "\r\n";
         in.pathField = "";
       },
       kParameterControl, FocusField::Argments},
  };
  for (const Case& c : cases) {
    ValidationInput in = Valid();
    c.change(in);
    const ValidationResult result = ValidateItem(in, FakeDisk);
    EXPECT_EQ(result.passed, c.message.empty()) << c.what;
    EXPECT_EQ(result.message, c.message) << c.what;
    EXPECT_EQ(result.focus, c.focus) << c.what;
  }
}

TEST(Validation, DuplicateCheckUsesTheGivenComparison) {
  ValidationInput in = Valid();
  in.nameField = "Fresh";
  auto always = [](const std::string&, const std::string&) { return true; };
  EXPECT_EQ(ValidateItem(in, FakeDisk, always).message, kNameTaken);
  in.nameField = "other";
  auto exact = [](const std::string& a, const std::string& b) { return a == b; };
  EXPECT_TRUE(ValidateItem(in, FakeDisk, exact).passed);
}

TEST(Validation, PathIsAskedOnlyForLauncherItemsThatGetThatFar) {
  int asked = 0;
  auto counting = [&](const std::string& path) {
    ++asked;
    return FakeDisk(path);
  };
  ValidationInput in = Valid();
  in.fixedString = true;
  EXPECT_TRUE(ValidateItem(in, counting).passed);
  in = Valid();
  in.nameField = "a|b";
  ValidateItem(in, counting);
  EXPECT_EQ(asked, 0);
}

TEST(Validation, ControlCharacters) {
  EXPECT_TRUE(HasControlChars("a\nb"));
  EXPECT_TRUE(HasControlChars("\r"));
  EXPECT_TRUE(HasControlChars("x\t"));
  EXPECT_FALSE(HasControlChars(""));
  EXPECT_FALSE(HasControlChars("a\x0B\x0C\x1B\x7F b"));  // only LF, CR and TAB count
  EXPECT_FALSE(HasControlChars("\x81\x40"));             // full-width blank
}

TEST(Validation, AsciiCaseComparison) {
  EXPECT_TRUE(SameNameIgnoringAsciiCase("Foo Bar", "fOO bAR"));
  EXPECT_FALSE(SameNameIgnoringAsciiCase("Foo", "Foo "));
  // A trail byte that looks like a letter belongs to its double-byte character
  // and is not folded: 83 61 and 83 41 are two different katakana.
  EXPECT_FALSE(SameNameIgnoringAsciiCase("\x83\x61", "\x83\x41"));
  EXPECT_TRUE(
      SameNameIgnoringAsciiCase("\x95\x5C"
                                "a",
                                "\x95\x5C"
                                "A"));
}
