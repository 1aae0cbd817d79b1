// Fixed-string item scripts run through the browser stand-in: what they put
// into the selection of the element under the mouse.
#include "catalogue/fixed_string_script.h"

#include <windows.h>

#include "catalogue/menu_registration.h"
#include "tests/harness/browser_standin.h"
#include "tests/harness/clock_values.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"

namespace {

class FixedStringScript : public WineTest {
 protected:
  void AddItem(const std::string& name, const std::string& fixedString) {
    ASSERT_TRUE(WriteFixedStringScript(name, fixedString));
    ASSERT_TRUE(RegisterMenuEntry(name, true, {false, false, false, false}));
  }

  // Runs the item's script with the mouse over an element of the given tag
  // and type, whose selection holds "old".
  ScriptRun RunOver(const std::string& name, const char* tagName, const char* type) {
    PageFixture page;
    PageElement element;
    element.tagName = tagName;
    element.type = type;
    page.elements = {element};
    page.sourceElement = page.pointElement = 0;
    page.selectionText = "old";
    const ScriptRun run = RunMenuScript(name, page, ProgramFolder() + "page\\");
    EXPECT_TRUE(run.completed) << run.error;
    return run;
  }
};

}  // namespace

TEST_F(FixedStringScript, ReplacesTheSelectionOfTextFieldsOnly) {
  // Blanks around it stay; other tokens, quotes and markup are typed as they are.
  const std::string text = " Dear \"<TU>\" <IT> <b>\x95\x5C</b></SCRIPT> ";  // 表
  AddItem("Greeting", text);
  struct Case {
    const char* tagName;
    const char* type;
    bool replaced;
  } cases[] = {
      {"INPUT", "text", true},
      {"INPUT", "PASSWORD", true},
      {"TEXTAREA", "textarea", true},
      {"INPUT", "checkbox", false},
      {"A", "", false},
      {"DIV", "text", false},
  };
  for (const Case& c : cases) {
    const ScriptRun run = RunOver("Greeting", c.tagName, c.type);
    EXPECT_EQ(run.rangeTextAssignments, c.replaced ? 1 : 0) << c.tagName << " " << c.type;
    EXPECT_EQ(Utf8(run.rangeText), Utf8(c.replaced ? text : "old")) << c.tagName << " " << c.type;
    EXPECT_EQ(run.promptCalls, 0);
  }
}

TEST_F(FixedStringScript, DateTimeLineBreakAndTab) {
  const char* tokens[] = {"<Y4>", "<Y2>", "<M2>", "<M1>", "<D2>", "<D1>", "<WE>",
                          "<WJ>", "<H2>", "<H1>", "<N2>", "<N1>", "<S2>", "<S1>"};
  std::string text;
  for (const char* token : tokens) text += std::string(token) + ";";
  AddItem("Stamp", text + "<\\N>;<\\T>");
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  const ScriptRun run = RunOver("Stamp", "TEXTAREA", "textarea");
  GetLocalTime(&after);
  const std::vector<std::string> values = SplitValues(run.rangeText, ';');
  ASSERT_EQ(values.size(), std::size(tokens) + 2) << Utf8(run.rangeText);
  for (size_t i = 0; i < std::size(tokens); ++i) {
    EXPECT_TRUE(IsTokenValueBetween(tokens[i], values[i], before, after))
        << tokens[i] << " gave " << Utf8(values[i]);
  }
  EXPECT_EQ(values[std::size(tokens)], "\r\n");
  EXPECT_EQ(values[std::size(tokens) + 1], "\t");
}
