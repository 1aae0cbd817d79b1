// Launcher item scripts run through the browser stand-in; the recorder shows
// exactly what the started application receives.
#include "catalogue/launcher_script.h"

#include <windows.h>

#include "catalogue/menu_registration.h"
#include "common/sjis_chars.h"
#include "tests/harness/browser_standin.h"
#include "tests/harness/clock_values.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/recorded_starts.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"

namespace {

// The script's own message when the program does not start.
const std::string kStartFailed = "プログラムの起動に失敗しました。";

class LauncherScript : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    app_ = ProgramFolder() + "apps\\viewer.exe";
    ASSERT_TRUE(InstallRecorder(app_));
  }

  // Writes and registers the item as the edit dialog's OK does.
  void AddItem(const std::string& name, const std::string& argments, int style = 1, bool confirm = false) {
    ASSERT_TRUE(WriteLauncherScript(name, app_, argments, style, confirm));
    ASSERT_TRUE(RegisterMenuEntry(name, false, {true, true, true, true}));
  }

  ScriptRun Run(const std::string& name, const PageFixture& page) {
    return RunMenuScript(name, page, ProgramFolder() + "page\\");
  }

  // Runs the item's script over page and returns what the application got.
  // Wine's WshShell.Run reports an error even when the program did start, so
  // under Wine the script's failure box always follows; it is answered and
  // checked to carry the item's title.
  RecordedStart Launch(const std::string& name, const PageFixture& page, const std::string& title = "") {
    const size_t boxesBefore = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    const ScriptRun run = Run(name, page);
    EXPECT_TRUE(run.completed) << run.error << (run.ran ? "" : " (cscript did not start or end)");
    const std::vector<SeenMessageBox> boxes = SeenMessageBoxes();
    EXPECT_EQ(boxes.size(), boxesBefore + 1);
    if (boxes.size() > boxesBefore) {
      EXPECT_EQ(boxes[boxesBefore].text, kStartFailed);
      EXPECT_EQ(boxes[boxesBefore].title, title.empty() ? name : title);
      EXPECT_EQ(boxes[boxesBefore].icon, BoxIcon::Stop);
    }
    return OnlyStart(name);
  }

  // The one start of the application that the last run made. The run ended
  // with cscript and all it started, so the record is there if the start
  // was; the log is cleared for the next run.
  RecordedStart OnlyStart(const std::string& what) {
    const std::vector<RecordedStart> starts = RecordedStarts(app_);
    EXPECT_EQ(starts.size(), 1u) << what;
    InstallRecorder(app_);
    return starts.empty() ? RecordedStart{} : starts.back();
  }

  // What the application receives for arguments: its quoted path, a blank,
  // the arguments.
  std::string Line(const std::string& arguments) const { return "\"" + app_ + "\" " + arguments; }

  std::string app_;
};

PageElement Tag(const char* tagName) {
  PageElement element;
  element.tagName = tagName;
  return element;
}

// The nine characters a file name may not hold, replaced by their full-width
// forms in code page 932; double-byte characters (trail byte 0x5C or 0x7C
// included) stay as they are.
std::string Wide(const std::string& text) {
  static const std::pair<char, const char*> pairs[] = {{'\\', "￥"}, {'/', "／"}, {':', "："},
                                                       {'*', "＊"},  {'?', "？"}, {'"', "”"},
                                                       {'<', "＜"},  {'>', "＞"}, {'|', "｜"}};
  std::string out;
  for (size_t i = 0; i < text.size(); i = NextSjisChar(text, i)) {
    const std::string character = text.substr(i, NextSjisChar(text, i) - i);
    const char* wide = nullptr;
    for (const auto& [narrow, replacement] : pairs) {
      if (character == std::string(1, narrow)) wide = replacement;
    }
    out += wide ? std::string(wide) : character;
  }
  return out;
}

}  // namespace

TEST_F(LauncherScript, LinkAndImageLookupsByTag) {
  AddItem("Element facts", "[<AU>][<AT>][<IU>][<IA>]");
  struct Case {
    const char* what;
    PageFixture page;
    std::string expected;
  };
  std::vector<Case> cases;
  {
    Case c{"link", {}, "[http://www.example.jp/next.html][Next \x95\x5C page][][]"};
    PageElement a = Tag("A");
    a.href = "http://www.example.jp/next.html";
    a.innerText = "Next \x95\x5C page";  // 表
    c.page.elements = {a};
    c.page.sourceElement = c.page.pointElement = 0;
    cases.push_back(c);
  }
  {
    Case c{"image inside a link",
           {},
           "[http://www.example.jp/big.html][Big][http://img.example.jp/s.png][Small]"};
    PageElement a = Tag("A"), img = Tag("IMG");
    a.href = "http://www.example.jp/big.html";
    a.innerText = "Big";
    img.src = "http://img.example.jp/s.png";
    img.alt = "Small";
    img.parent = 0;
    c.page.elements = {a, img};
    c.page.sourceElement = c.page.pointElement = 1;
    c.page.images = {1};
    cases.push_back(c);
  }
  {
    Case c{"image button", {}, "[][][http://www.example.jp/go.gif][Go]"};
    PageElement input = Tag("INPUT");
    input.type = "image";
    input.src = "http://www.example.jp/go.gif";
    input.alt = "Go";
    c.page.elements = {input};
    c.page.sourceElement = c.page.pointElement = 0;
    cases.push_back(c);
  }
  for (const bool areaAlt : {true, false}) {
    Case c{areaAlt ? "map area with its own text" : "map area without text",
           {},
           areaAlt ? "[][][http://www.example.jp/map.png][Area text]"
                   : "[][][http://www.example.jp/map.png][Map]"};
    PageElement other = Tag("IMG"), mapImage = Tag("IMG"), map = Tag("MAP"), area = Tag("AREA");
    other.src = "http://www.example.jp/other.png";
    other.useMap = "#elsewhere";
    other.alt = "Other";
    mapImage.src = "http://www.example.jp/map.png";
    mapImage.useMap = "#nav";
    mapImage.alt = "Map";
    map.name = "nav";
    area.parent = 2;
    area.href = "http://www.example.jp/area.html";
    if (areaAlt) area.alt = "Area text";
    c.page.elements = {other, mapImage, map, area};
    c.page.sourceElement = c.page.pointElement = 3;
    c.page.images = {0, 1};
    cases.push_back(c);
  }
  {
    Case c{"other element at the point, image as event source", {}, "[][][http://www.example.jp/f.png][F]"};
    PageElement span = Tag("SPAN"), img = Tag("IMG");
    img.src = "http://www.example.jp/f.png";
    img.alt = "F";
    c.page.elements = {span, img};
    c.page.pointElement = 0;
    c.page.sourceElement = 1;
    cases.push_back(c);
  }
  {
    Case c{"plain text", {}, "[][][][]"};
    c.page.elements = {Tag("P")};
    c.page.sourceElement = c.page.pointElement = 0;
    cases.push_back(c);
  }
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8(Launch("Element facts", c.page).commandLine), Utf8(Line(c.expected))) << c.what;
  }
}

TEST_F(LauncherScript, LinkTokensAloneTakeTheEventSource) {
  AddItem("Link", "<AU> <AT>");
  PageFixture page;
  PageElement a = Tag("A");
  a.href = "http://www.example.jp/a.html";
  a.innerText = "A";
  page.elements = {a};
  page.sourceElement = 0;
  page.pointElement = -1;  // the point finds the body: not looked at
  EXPECT_EQ(Launch("Link", page).commandLine, Line("http://www.example.jp/a.html A"));
}

TEST_F(LauncherScript, PageAndFrameTokensWithWideConversion) {
  AddItem("Page", "[<TU>][<FU>][<TT>][<FT>][<TU2>][<FU2>][<TT2>][<FT2>]");
  PageFixture page;
  page.framed = true;
  page.topUrl = "http://top.example.jp/a?b=1|2&c=<3>";
  page.topTitle = "Top: \"A\" *B? C\\D/E";
  page.frameUrl = "http://frame.example.jp/f.html";
  page.frameTitle = "Frame 表ポ title";  // 表ポ: trail bytes 0x5C and 0x7C
  const std::string framed = "[" + page.topUrl + "][" + page.frameUrl + "][" + page.topTitle + "][" +
                             page.frameTitle + "][" + Wide(page.topUrl) + "][" + Wide(page.frameUrl) + "][" +
                             Wide(page.topTitle) + "][" + Wide(page.frameTitle) + "]";
  EXPECT_EQ(Utf8(Launch("Page", page).commandLine), Utf8(Line(framed)));

  // Without frames the menu's document is the page itself.
  page.framed = false;
  const std::string whole = "[" + page.topUrl + "][" + page.topUrl + "][" + page.topTitle + "][" +
                            page.topTitle + "][" + Wide(page.topUrl) + "][" + Wide(page.topUrl) + "][" +
                            Wide(page.topTitle) + "][" + Wide(page.topTitle) + "]";
  EXPECT_EQ(Utf8(Launch("Page", page).commandLine), Utf8(Line(whole)));
}

TEST_F(LauncherScript, LaterSubstitutionsApplyToEarlierValues) {
  AddItem("Chain", "<TT> <FU>");
  PageFixture page;
  page.topTitle = "title <FU>";
  EXPECT_EQ(Launch("Chain", page).commandLine, Line("title " + page.topUrl + " " + page.topUrl));
}

TEST_F(LauncherScript, SelectionTextTrimmedAndSourceAsIs) {
  AddItem("Selection", "[<ST>][<SS>]");
  PageFixture page;
  page.selectionText = "  selected \x95\x5C text  ";
  page.selectionHtml = "  <B>selected</B> &amp; <A HREF=\"x.html\">x</A> ";
  EXPECT_EQ(Utf8(Launch("Selection", page).commandLine),
            Utf8(Line("[selected \x95\x5C text][" + page.selectionHtml + "]")));
}

TEST_F(LauncherScript, PromptAnswerCancelLineBreakAndTab) {
  AddItem("Input", "[<IT>]<\\N>[<\\T>]");
  for (const bool cancel : {false, true}) {
    PageFixture page;
    if (!cancel) page.promptAnswer = "typed 入力";
    ExpectMessageBox(IDOK);
    const ScriptRun run = Run("Input", page);
    EXPECT_TRUE(run.completed);
    EXPECT_EQ(run.promptCalls, 1);
    EXPECT_EQ(run.promptMessage, "");
    EXPECT_EQ(run.promptDefault, "");
    const RecordedStart recorded = OnlyStart(cancel ? "cancelled" : "answered");
    EXPECT_EQ(Utf8(recorded.commandLine), Utf8(Line(cancel ? "[]\r\n[\t]" : "[typed 入力]\r\n[\t]")))
        << (cancel ? "cancelled" : "answered");
  }
}

TEST_F(LauncherScript, DateAndTimeFromTheClock) {
  const char* tokens[] = {"<Y4>", "<Y2>", "<M2>", "<M1>", "<D2>", "<D1>", "<WE>",
                          "<WJ>", "<H2>", "<H1>", "<N2>", "<N1>", "<S2>", "<S1>"};
  std::string argments;
  for (const char* token : tokens) argments += std::string(token) + ";";
  AddItem("Clock", argments);
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  const RecordedStart recorded = Launch("Clock", PageFixture{});
  GetLocalTime(&after);
  const std::string prefix = "\"" + app_ + "\" ";
  ASSERT_EQ(recorded.commandLine.compare(0, prefix.size(), prefix), 0) << Utf8(recorded.commandLine);
  const std::vector<std::string> values = SplitValues(recorded.commandLine.substr(prefix.size()), ';');
  ASSERT_EQ(values.size(), std::size(tokens) + 1) << Utf8(recorded.commandLine);
  for (size_t i = 0; i < std::size(tokens); ++i) {
    EXPECT_TRUE(IsTokenValueBetween(tokens[i], values[i], before, after))
        << tokens[i] << " gave " << Utf8(values[i]);
  }
}

TEST_F(LauncherScript, WindowStyleAndWorkingFolder) {
  // A folder name ending in 表 (0x95 0x5C) with a blank before it.
  app_ = ProgramFolder() + "アプリ 表\\rec.exe";
  ASSERT_TRUE(InstallRecorder(app_));
  for (int style = 0; style <= 3; ++style) {
    const std::string name = "Style " + std::to_string(style);
    AddItem(name, "<TT>", style);
    const RecordedStart recorded = Launch(name, PageFixture{});
    EXPECT_EQ(recorded.commandLine, Line("Example top"));
    EXPECT_EQ(recorded.show, "1 " + std::to_string(style));
    EXPECT_EQ(Utf8(recorded.workingDir), Utf8(ProgramFolder() + "アプリ 表"));
  }
}

TEST_F(LauncherScript, ConfirmationShowsTheCommandLineInstead) {
  AddItem("R&D Check", "<AU> \"q\"", 2, true);
  PageFixture page;
  PageElement a = Tag("A");
  a.href = "http://www.example.jp/a.html";
  page.elements = {a};
  page.sourceElement = 0;
  ExpectMessageBox(IDOK);
  const ScriptRun run = Run("R&D Check", page);
  EXPECT_TRUE(run.completed) << run.error << (run.ran ? "" : " (cscript did not start or end)");
  const std::vector<SeenMessageBox> boxes = SeenMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, Line("http://www.example.jp/a.html \"q\""));
  EXPECT_EQ(boxes[0].title, "RD Check");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Information);
  EXPECT_EQ(boxes[0].buttons, std::vector<int>{IDOK});
  // The run ended with cscript and everything the script started: had the
  // application been started, its record would be there.
  EXPECT_TRUE(RecordedStarts(app_).empty());
}

TEST_F(LauncherScript, TemplateTextReachesTheProgramUnchanged) {
  struct Case {
    const char* name;
    std::string argments;
    std::string expected;
  } cases[] = {
      {"Quotes", "\"<TT>\" /opt \"a b\" \"\" <au> <tt>", "\"Example top\" /opt \"a b\" \"\" <au> <tt>"},
      {"Markup", "<b><TT></b></SCRIPT></script >", "<b>Example top</b></SCRIPT></script >"},
  };
  for (const Case& c : cases) {
    AddItem(c.name, c.argments);
    EXPECT_EQ(Launch(c.name, PageFixture{}).commandLine, Line(c.expected)) << c.name;
  }
}

TEST_F(LauncherScript, EmptyTemplateStartsTheProgramAlone) {
  AddItem("Bare & plain", "");
  const RecordedStart recorded = Launch("Bare & plain", PageFixture{}, "Bare  plain");
  // The script passes the path and a blank; Wine drops a blank that nothing
  // follows, Windows keeps it.
  const std::string quoted = "\"" + app_ + "\"";
  EXPECT_TRUE(recorded.commandLine == quoted + " " || recorded.commandLine == quoted) << recorded.commandLine;
  EXPECT_EQ(recorded.show, "1 1");
}
