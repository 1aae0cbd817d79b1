// The stand-in itself: it must take out exactly what the browser would run and
// notice when that code does not run to its end.
#include "tests/harness/browser_standin.h"

#include <windows.h>

#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"

namespace {
class BrowserStandIn : public WineTest {
 protected:
  // Registers name with a hand-written script file.
  void AddRawItem(const std::string& name, const std::string& html) {
    ASSERT_TRUE(WriteFileBytes(ScriptFilePath(name), html));
    ASSERT_TRUE(RegisterMenuEntry(name, true, {false, false, false, false}));
  }
};
}  // namespace

TEST_F(BrowserStandIn, TakesTheCodeUpToTheFirstClosingTagInAnyCase) {
  EXPECT_EQ(ExtractScriptCode("<!--\r\n-->\r\n<SCRIPT TYPE=\"x\">\r\nA\r\n</SCRIPT>\r\n"), "\r\nA\r\n");
  EXPECT_EQ(ExtractScriptCode("<script>a = \"</ScRiPt>\"\r\n</SCRIPT>"), "a = \"");
  EXPECT_EQ(ExtractScriptCode("no script here"), "");
}

TEST_F(BrowserStandIn, NoticesCodeThatDoesNotRunToItsEnd) {
  AddRawItem(
      "Works",
      "<SCRIPT>\r\nOption Explicit\r\nDim a\r\na = external.menuArguments.document.title\r\n</SCRIPT>\r\n");
  EXPECT_TRUE(RunMenuScript("Works", PageFixture{}, ProgramFolder() + "page\\").completed);
  // Cut short by a closing tag inside a literal, the code is a syntax error.
  AddRawItem("Broken", "<SCRIPT>\r\nOption Explicit\r\nDim a\r\na = \"</script>\"\r\n</SCRIPT>\r\n");
  const ScriptRun run = RunMenuScript("Broken", PageFixture{}, ProgramFolder() + "page\\");
  EXPECT_TRUE(run.ran);
  EXPECT_FALSE(run.completed);
  EXPECT_FALSE(RunMenuScript("Not registered", PageFixture{}, ProgramFolder() + "page\\").completed);
}
