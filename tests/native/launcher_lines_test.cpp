// The host's judgement of a line for Jotwell and Fetchbay, made with the
// launchers' own parsers: the page fills values, never their syntax.
#include <gtest/gtest.h>

#include "bridge/host/launcher_lines.h"
#include "common/utf.h"
#include "tests/native/marked_cases.h"

namespace {

TEST(LauncherLines, PageTextNeverFormsTheLaunchersSyntax) {
  constexpr ProgramKind J = ProgramKind::Jotwell, F = ProgramKind::Fetchbay;
  constexpr LineRefusal None = LineRefusal::None, Option = LineRefusal::PageFormsOption,
                        Path = LineRefusal::PageNamesPath;
  const struct {
    ProgramKind kind;
    std::u16string_view arguments;
    LineRefusal refusal;
  } cases[] = {
      {J, u"/s«a \"b\"/c \\/» /oC:\\memo.txt", None},
      {J, u"/s«x /eC:\\any\\program.exe» /oC:\\memo.txt", Option},
      {J, u"/s«x /oC:\\other.txt» /oC:\\memo.txt", Option},
      {J, u"/s«x »/oC:\\memo.txt", Option},  // the page's blank before the template's slash
      {J, u"/s«x  » /oC:\\memo.txt", None},
      {J, u"«/sx» /oC:\\memo.txt", Option},
      {J, u"/«sx» /oC:\\memo.txt", Option},
      {J, u"/sx /oC:\\m.txt /«e»", Option},
      {J, u"/sx /« »/oC:\\m.txt", Option},
      {J, u"/sx /oC:\\clips\\«ａ：ｂ？ｃ».txt", None},
      {J, u"/s«http://a/» /oC:\\clips\\«..\\..\\Windows\\x».txt", Path},
      {J, u"/sx /oC:\\clips\\«..»\\x.txt", Path},
      {J, u"/sx /oC:\\clips\\«. .»\\x.txt", Path},
      {J, u"/sx /o«C:x».txt", Path},
      {J, u"/sx /O«C:x».txt", Path},
      {J, u"/sx /oC:\\clips\\«a.b c».txt", None},
      {J, u"/sx /oC:\\m.txt /e«notepad.exe»", Path},
      {J, u"/sx /oC:\\m.txt /E«notepad.exe»", Path},
      {J, u"/s«C:\\x:y» /oC:\\m.txt /q«any \\:/thing»", None},
      // Japanese text: 表, ソ and 能 end in the byte of a backslash, which
      // is no separator to Jotwell or Windows; a full-width blank or a tab
      // is no blank before an option, and a slash after a double-byte
      // character starts none.
      {J, u"/s«表» /oC:\\clips\\«予定表ソ能».txt", None},
      {J, u"/s表«/oC:\\evil.txt» /oC:\\m.txt", None},
      {J, u"/s«x　/oC:\\evil.txt» /oC:\\m.txt", None},
      {J, u"/s«x\t/oC:\\evil.txt» /oC:\\m.txt", None},
      {J, u"/s表«  /oC:\\evil.txt» /oC:\\m.txt", Option},
      {J, u"/sｱ«ｲ /eC:\\evil.exe» /oC:\\m.txt", Option},
      // The blanks after the path are not Jotwell's text, whoever gave them.
      {J, u"   /s«x» /oC:\\m.txt", None},
      {J, u"«   »/sx /oC:\\m.txt", None},
      {J, u"«  /sx» /oC:\\m.txt", Option},
      // The page's text as the whole text: options, or Jotwell's usage.
      {J, u"«/sx /oC:\\m.txt»", Option},
      {J, u"«x /oC:\\m.txt»", None},
      {J, u"«»", None},
      {F, u"«http://a/b.pdf» C:\\viewer.exe", None},
      {F, u"«http://a/ C:\\Windows\\calc.exe» C:\\viewer.exe", Path},
      {F, u"«http://a/ C:\\Windows\\calc.exe»", Path},
      {F, u"«http://a/\tC:\\Windows\\calc.exe» C:\\viewer.exe", None},
      {F, u"«http://a/表　C:\\Windows\\calc.exe» C:\\viewer.exe", None},
      {F, u"  «  »«http://a/» C:\\viewer.exe", None},
      {F, u"«  http://a/ C:\\Windows\\calc.exe»", Path},
      {F, u"«http://a/b.pdf»", None},
      {F, u"http://a/ C:\\«viewer».exe", Path},
      {ProgramKind::Pagewatch, u"«a \"b\" /c» «x»", None},
      {ProgramKind::Clipsy, u"«  \"q\" \\ /x  »", None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckLauncherLine(c.kind, Marked(c.arguments)), c.refusal) << Utf16ToUtf8(c.arguments);
  }
}

}  // namespace
