// The edit dialog's window-free rules: token insertion at a character
// position, the Open File dialog's starting folder, the name a chosen program
// gives, the source editor's command line, and the layout tables.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "editdialog/edit_dialog_rules.h"

namespace {

TEST(TokenInsertion, GoesInAtTheCaretAndTheCaretFollowsIt) {
  struct Case {
    const char* what;
    std::string text;
    int caret;
    std::string token, expected;
    int expectedCaret;
  } cases[] = {
      {"empty box", "", 0, "<TU>", "<TU>", 4},
      {"at the start", "abc", 0, "<TU>", "<TU>abc", 4},
      {"in the middle", "abc", 1, "<ST>", "a<ST>bc", 5},
      {"at the end", "abc", 3, "<Y4>", "abc<Y4>", 7},
      {"caret past the end", "abc", 9, "<\\N>", "abc<\\N>", 7},
      {"negative caret (16-bit overflow)", "abc", -3, "<IT>", "<IT>abc", 4},
      // Positions count characters: a double-byte character is one.
      {"after double-byte characters", "表示x", 2, "<TT>", "表示<TT>x", 6},
      {"between double-byte characters", "表示", 1, "<WJ>", "表<WJ>示", 5},
      {"half-width katakana are single bytes", "\xB1\xB2", 1, "<D2>", "\xB1<D2>\xB2", 5},
  };
  for (const Case& c : cases) {
    const TokenInsertion result = InsertTokenAt(c.text, c.caret, c.token);
    EXPECT_EQ(result.text, c.expected) << c.what;
    EXPECT_EQ(result.caret, c.expectedCaret) << c.what;
  }
}

TEST(BrowseRules, StartsInTheTypedPathsFolderWhenItExists) {
  const auto kind = [](const std::string& path) {
    return path == "C:\\Tools\\" || path == "C:\\\x95\x5C\\" ? PathKind::Folder : PathKind::Missing;
  };
  EXPECT_EQ(InitialBrowseFolder("C:\\Tools\\viewer.exe", kind), "C:\\Tools\\");
  EXPECT_EQ(InitialBrowseFolder("  C:\\Tools\\viewer.exe  ", kind), "C:\\Tools\\");
  EXPECT_EQ(InitialBrowseFolder("C:\\Tools\\", kind), "C:\\Tools\\");
  EXPECT_EQ(InitialBrowseFolder("C:\\NoSuchFolder\\x.exe", kind), "");
  EXPECT_EQ(InitialBrowseFolder("viewer.exe", kind), "");
  EXPECT_EQ(InitialBrowseFolder("   ", kind), "");
  EXPECT_EQ(InitialBrowseFolder("C:\\\x95\x5C\\a.exe", kind), "C:\\\x95\x5C\\");  // 表: trail byte 0x5C
}

TEST(BrowseRules, NameFromTheChosenProgram) {
  EXPECT_EQ(NameFromProgramPath("C:\\Tools\\viewer.exe"), "viewer");
  EXPECT_EQ(NameFromProgramPath("C:\\Tools\\archive.tar.gz"), "archive.tar");
  EXPECT_EQ(NameFromProgramPath("C:\\Tools\\runme"), "runme");
  EXPECT_EQ(NameFromProgramPath("C:\\表\\示.exe"), "示");
}

TEST(ShowScriptRules, EditorCommandLine) {
  EXPECT_EQ(EditorCommandLine("Notepad.exe", "C:\\a b\\x.html"), "\"Notepad.exe\" \"C:\\a b\\x.html\"");
}

TEST(EditDialogLayout, ControlsInsideTheClientAreaAndTopicsAsListed) {
  for (const EditControl control : kEditControls) {
    const TwipsRect r = EditControlTwips(control);
    EXPECT_GT(r.width, 0);
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.left + r.width, kEditClientWidthTwips) << static_cast<int>(control);
    if (control != EditControl::CmbWindouStyle) {  // its height is the dropped list's
      EXPECT_LE(r.top + r.height, kEditClientHeightTwips) << static_cast<int>(control);
    }
  }
  EXPECT_EQ(EditHelpTopic(EditControl::LblArgments, false), 11);
  EXPECT_EQ(EditHelpTopic(EditControl::LblArgments, true), 25);
  EXPECT_EQ(EditHelpTopic(EditControl::BtnMenu, false), 12);
  EXPECT_EQ(EditHelpTopic(EditControl::BtnMenu, true), 27);
  EXPECT_EQ(EditHelpTopic(EditControl::LblContexts, false), 0);
  std::set<int> topics;
  for (const EditControl control : kEditControls) topics.insert(EditHelpTopic(control, false));
  EXPECT_EQ(topics, (std::set<int>{0, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
  // Each row names its own control: no id twice, OK and Cancel the dialog's
  // IDOK and IDCANCEL.
  std::set<int> ids;
  for (const ControlLayout& row : kEditLayout) ids.insert(row.id);
  EXPECT_EQ(ids.size(), kEditLayout.size());
  EXPECT_EQ(EditControlId(EditControl::BtnOK), 1);
  EXPECT_EQ(EditControlId(EditControl::BtnCancel), 2);
  EXPECT_STREQ(EditTooltip(EditControl::BtnMenu), "置換ﾊﾟﾗﾒｰﾀの選択");
  EXPECT_EQ(EditTooltip(EditControl::TxtArgments), nullptr);
}

}  // namespace
