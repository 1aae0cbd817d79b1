// The byte layout of both item scripts, checked against an independent
// statement of the layout: every line with the condition under which it is
// written, numbered as in the layout's description.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "catalogue/fixed_string_script.h"
#include "catalogue/launcher_script.h"
#include "catalogue/placeholders.h"
#include "catalogue/version_info.h"

namespace {

struct Context {
  std::set<std::string> tokens;  // the tokens the text holds
  bool confirm = false;
};
using Condition = std::function<bool(const Context&)>;

struct LayoutLine {
  int number;
  std::string text;  // {KEY} stands for an input-dependent part
  Condition when;
};

const Condition kAlways = [](const Context&) { return true; };
Condition AnyOf(std::vector<std::string> tokens) {
  return [tokens](const Context& c) {
    for (const std::string& t : tokens) {
      if (c.tokens.count(t)) return true;
    }
    return false;
  };
}
const Condition kTop = AnyOf({"<TT>", "<TU>", "<TT2>", "<TU2>"});
const Condition kFrame = AnyOf({"<FT>", "<FU>", "<FT2>", "<FU2>", "<ST>", "<SS>", "<IU>", "<IA>"});
const Condition kLink = AnyOf({"<AT>", "<AU>"});
const Condition kImage = AnyOf({"<IU>", "<IA>"});
const Condition kElement = AnyOf({"<AT>", "<AU>", "<IU>", "<IA>"});
const Condition kWide = AnyOf({"<TT2>", "<TU2>", "<FT2>", "<FU2>"});
const Condition kRun = [](const Context& c) { return !c.confirm; };
const Condition kConfirm = [](const Context& c) { return c.confirm; };

const std::vector<LayoutLine>& LauncherLayout() {
  static const std::vector<LayoutLine> layout = {
      {1, "<!--", kAlways},
      {2, "Orbisk {VERSION}", kAlways},
      {3, "{RIGHTS}", kAlways},
      {4, "", kAlways},
      {5, "-->", kAlways},
      {6, "<SCRIPT TYPE=\"text/vbscript\" LANGUAGE=\"VBScript\" CHARSET=\"Shift_JIS\">", kAlways},
      {7, "Option Explicit", kAlways},
      {8, "CONST EXE_PATH = \"{PATH}\"", kAlways},
      {9, "CONST EXE_DIR = \"{DIR}\"", kAlways},
      {10, "Dim objWshShell", kAlways},
      {11, "Dim objWin", kAlways},
      {12, "Dim objTopDoc", kTop},
      {13, "Dim objFrmDoc", kFrame},
      {14, "Dim objImg", kImage},
      {15, "Dim objElm", kElement},
      {16, "Dim strTag", kElement},
      {17, "Dim strTopTitle", AnyOf({"<TT>", "<TT2>"})},
      {18, "Dim strTopUrl", AnyOf({"<TU>", "<TU2>"})},
      {19, "Dim strFrmTitle", AnyOf({"<FT>", "<FT2>"})},
      {20, "Dim strFrmUrl", AnyOf({"<FU>", "<FU2>"})},
      {21, "Dim strAnchorText", AnyOf({"<AT>"})},
      {22, "Dim strAnchorUrl", AnyOf({"<AU>"})},
      {23, "Dim strImageUrl", AnyOf({"<IU>"})},
      {24, "Dim strImageAlt", AnyOf({"<IA>"})},
      {25, "Dim strSelText", AnyOf({"<ST>"})},
      {26, "Dim strSelSource", AnyOf({"<SS>"})},
      {27, "Dim strInputText", AnyOf({"<IT>"})},
      {28, "Dim strArgments", kAlways},
      {29, "On Error Resume Next", kAlways},
      {30, "Set objWshShell = CreateObject(\"Wscript.Shell\")", kAlways},
      {31, "Set objWin = external.menuArguments", kAlways},
      {32, "Set objTopDoc = objWin.top.document", kTop},
      {33, "Set objFrmDoc = objWin.document", kFrame},
      {34, "Set objElm = objWin.event.srcElement", kLink},
      {35, "Set objElm = objFrmDoc.elementFromPoint(objWin.event.x, objWin.event.y)", kImage},
      {36, "strTag = objElm.tagName", kElement},
      {37, "strTopTitle = objTopDoc.title", AnyOf({"<TT>", "<TT2>"})},
      {38, "strTopUrl = objTopDoc.URL", AnyOf({"<TU>", "<TU2>"})},
      {39, "strFrmTitle = objFrmDoc.title", AnyOf({"<FT>", "<FT2>"})},
      {40, "strFrmUrl = objFrmDoc.URL", AnyOf({"<FU>", "<FU2>"})},
      {41, "Select Case strTag", kElement},
      {42, "Case \"A\"", kLink},
      {43, "strAnchorUrl = objElm.href", AnyOf({"<AU>"})},
      {44, "strAnchorText = objElm.innerText", AnyOf({"<AT>"})},
      {45, "Case \"IMG\"", kElement},
      {46, "strImageUrl = objElm.src", AnyOf({"<IU>"})},
      {47, "strImageAlt = objElm.alt", AnyOf({"<IA>"})},
      {48, "If objElm.parentElement.tagName = \"A\" Then", kLink},
      {49, "strAnchorUrl = objElm.parentElement.href", AnyOf({"<AU>"})},
      {50, "strAnchorText = objElm.parentElement.innerText", AnyOf({"<AT>"})},
      {51, "End If", kLink},
      {52, "Case \"INPUT\"", kImage},
      {53, "If objElm.type = \"image\" Then", kImage},
      {54, "strImageUrl = objElm.src", AnyOf({"<IU>"})},
      {55, "strImageAlt = objElm.alt", AnyOf({"<IA>"})},
      {56, "End If", kImage},
      {57, "Case \"AREA\"", kImage},
      {58, "strImageAlt = objElm.alt", AnyOf({"<IA>"})},
      {59, "For Each objImg In objFrmDoc.images", kImage},
      {60, "If objImg.useMap = \"#\" & objElm.parentElement.name Then", kImage},
      {61, "strImageUrl = objImg.src", AnyOf({"<IU>"})},
      {62, "If strImageAlt = \"\" Then strImageAlt = objImg.alt", AnyOf({"<IA>"})},
      {63, "Exit For", kImage},
      {64, "End If", kImage},
      {65, "Next", kImage},
      {66, "Case Else", kImage},
      {67, "Set objElm = objWin.event.srcElement", kImage},
      {68, "strTag = objElm.tagName", kImage},
      {69, "If strTag = \"IMG\" Then", kImage},
      {70, "strImageUrl = objElm.src", AnyOf({"<IU>"})},
      {71, "strImageAlt = objElm.alt", AnyOf({"<IA>"})},
      {72, "End If", kImage},
      {73, "End Select", kElement},
      {74, "strSelText = Trim(objFrmDoc.selection.createRange().text)", AnyOf({"<ST>"})},
      {75, "strSelSource = objFrmDoc.selection.createRange().htmlText", AnyOf({"<SS>"})},
      {76, "strInputText = window.prompt(\"\", \"\")", AnyOf({"<IT>"})},
      {77, "If IsNull(strInputText) Then strInputText = \"\"", AnyOf({"<IT>"})},
      {78, "strArgments = \"{TEMPLATE}\"", kAlways},
      {79, "strArgments = Replace(strArgments, \"<TT>\", strTopTitle)", AnyOf({"<TT>"})},
      {80, "strArgments = Replace(strArgments, \"<TU>\", strTopUrl)", AnyOf({"<TU>"})},
      {81, "strArgments = Replace(strArgments, \"<TT2>\", cnvNarrowToWide(strTopTitle))", AnyOf({"<TT2>"})},
      {82, "strArgments = Replace(strArgments, \"<TU2>\", cnvNarrowToWide(strTopUrl))", AnyOf({"<TU2>"})},
      {83, "strArgments = Replace(strArgments, \"<FT>\", strFrmTitle)", AnyOf({"<FT>"})},
      {84, "strArgments = Replace(strArgments, \"<FU>\", strFrmUrl)", AnyOf({"<FU>"})},
      {85, "strArgments = Replace(strArgments, \"<FT2>\", cnvNarrowToWide(strFrmTitle))", AnyOf({"<FT2>"})},
      {86, "strArgments = Replace(strArgments, \"<FU2>\", cnvNarrowToWide(strFrmUrl))", AnyOf({"<FU2>"})},
      {87, "strArgments = Replace(strArgments, \"<AU>\", strAnchorUrl)", AnyOf({"<AU>"})},
      {88, "strArgments = Replace(strArgments, \"<AT>\", strAnchorText)", AnyOf({"<AT>"})},
      {89, "strArgments = Replace(strArgments, \"<IU>\", strImageUrl)", AnyOf({"<IU>"})},
      {90, "strArgments = Replace(strArgments, \"<IA>\", strImageAlt)", AnyOf({"<IA>"})},
      {91, "strArgments = Replace(strArgments, \"<ST>\", strSelText)", AnyOf({"<ST>"})},
      {92, "strArgments = Replace(strArgments, \"<SS>\", strSelSource)", AnyOf({"<SS>"})},
      {93, "strArgments = Replace(strArgments, \"<Y4>\", CStr(Year(Now)))", AnyOf({"<Y4>"})},
      {94, "strArgments = Replace(strArgments, \"<Y2>\", Right(CStr(Year(Now)), 2))", AnyOf({"<Y2>"})},
      {95, "strArgments = Replace(strArgments, \"<M2>\", Right(CStr(Month(Now) + 100), 2))", AnyOf({"<M2>"})},
      {96, "strArgments = Replace(strArgments, \"<M1>\", CStr(Month(Now)))", AnyOf({"<M1>"})},
      {97, "strArgments = Replace(strArgments, \"<D2>\", Right(CStr(Day(Now) + 100), 2))", AnyOf({"<D2>"})},
      {98, "strArgments = Replace(strArgments, \"<D1>\", CStr(Day(Now)))", AnyOf({"<D1>"})},
      {99, "Dim aryWeekdayEng", AnyOf({"<WE>"})},
      {100, "aryWeekdayEng = Split(\"Sun Mon Tue Wed Thu Fri Sat\")", AnyOf({"<WE>"})},
      {101, "strArgments = Replace(strArgments, \"<WE>\", aryWeekdayEng(Weekday(Now) - 1))", AnyOf({"<WE>"})},
      {102, "Dim aryWeekdayJpn", AnyOf({"<WJ>"})},
      {103, "aryWeekdayJpn = Split(\"日 月 火 水 木 金 土\")", AnyOf({"<WJ>"})},
      {104, "strArgments = Replace(strArgments, \"<WJ>\", aryWeekdayJpn(Weekday(Now) - 1))", AnyOf({"<WJ>"})},
      {105, "strArgments = Replace(strArgments, \"<H2>\", Right(CStr(Hour(Now) + 100), 2))", AnyOf({"<H2>"})},
      {106, "strArgments = Replace(strArgments, \"<H1>\", CStr(Hour(Now)))", AnyOf({"<H1>"})},
      {107, "strArgments = Replace(strArgments, \"<N2>\", Right(CStr(Minute(Now) + 100), 2))",
       AnyOf({"<N2>"})},
      {108, "strArgments = Replace(strArgments, \"<N1>\", CStr(Minute(Now)))", AnyOf({"<N1>"})},
      {109, "strArgments = Replace(strArgments, \"<S2>\", Right(CStr(Second(Now) + 100), 2))",
       AnyOf({"<S2>"})},
      {110, "strArgments = Replace(strArgments, \"<S1>\", CStr(Second(Now)))", AnyOf({"<S1>"})},
      {111, "strArgments = Replace(strArgments, \"<IT>\", strInputText)", AnyOf({"<IT>"})},
      {112, "strArgments = Replace(strArgments, \"<\\N>\", vbCrLf)", AnyOf({"<\\N>"})},
      {113, "strArgments = Replace(strArgments, \"<\\T>\", vbTab)", AnyOf({"<\\T>"})},
      {114, "objWshShell.CurrentDirectory = EXE_DIR", kRun},
      {115, "Err = 0", kRun},
      {116, "objWshShell.Run CHR(34) & EXE_PATH & CHR(34) & \" \" & strArgments, {STYLE}, 0", kRun},
      {117, "If Err <> 0 Then", kRun},
      {118, "objWshShell.Popup \"プログラムの起動に失敗しました。\", 0, \"{TITLE}\", 16", kRun},
      {119, "End If", kRun},
      {120, "objWshShell.Popup CHR(34) & EXE_PATH & CHR(34) & \" \" & strArgments, 0, \"{TITLE}\", 64",
       kConfirm},
      {121, "Set objWshShell = Nothing", kAlways},
      {122, "Function cnvNarrowToWide(strSource)", kWide},
      {123, "Dim aryNarrow, aryWide, i", kWide},
      {124, "aryNarrow = Split(\"\\ / : * ? \"\" < > |\")", kWide},
      {125, "aryWide = Split(\"￥ ／ ： ＊ ？ ” ＜ ＞ ｜\")", kWide},
      {126, "cnvNarrowToWide = strSource", kWide},
      {127, "For i = 0 To UBound(aryNarrow)", kWide},
      {128, "cnvNarrowToWide = Replace(cnvNarrowToWide, aryNarrow(i), aryWide(i))", kWide},
      {129, "Next", kWide},
      {130, "End Function", kWide},
      {131, "</SCRIPT>", kAlways},
  };
  return layout;
}

const std::vector<LayoutLine>& FixedStringLayout() {
  static const std::vector<LayoutLine> layout = [] {
    std::vector<LayoutLine> lines;
    for (int i = 0; i < 7; ++i) lines.push_back(LauncherLayout()[i]);
    auto add = [&](std::string text, Condition when = kAlways) {
      lines.push_back({static_cast<int>(lines.size()) + 1, text, when});
    };
    add("Dim objWin");
    add("Dim objFrmDoc");
    add("Dim objElm");
    add("Dim strTag");
    add("Dim strType");
    add("Dim strFixedString");
    add("On Error Resume Next");
    add("Set objWin = external.menuArguments");
    add("Set objFrmDoc = objWin.document");
    add("Set objElm = objWin.event.srcElement");
    add("strTag = LCase(objElm.tagName)");
    add("If (strTag = \"input\") Or (strTag = \"textarea\") Then");
    add("strType =  LCase(objElm.type)");
    add("If (strType = \"text\") Or (strType = \"password\") Or (strType = \"textarea\") Then");
    add("strFixedString = \"{TEMPLATE}\"");
    // The date, time and line-break substitutions, as in the launcher script
    // with the variable renamed.
    for (const LayoutLine& line : LauncherLayout()) {
      if (line.number < 93 || line.number > 113 || line.number == 111) continue;
      std::string text = line.text;
      const std::string from = "strArgments";
      for (auto at = text.find(from); at != std::string::npos; at = text.find(from)) {
        text.replace(at, from.size(), "strFixedString");
      }
      add(text, line.when);
    }
    add("objFrmDoc.selection.createRange().text = strFixedString");
    add("End If");
    add("End If");
    add("</SCRIPT>");
    return lines;
  }();
  return layout;
}

// The template as the inside of a VBScript string literal.
std::string ExpectedLiteral(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') {
      out += "\" & CHR(34) & \"";
    } else if (text[i] == '<' && i + 1 < text.size() && text[i + 1] == '/') {
      out += "<\" & \"/";
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Fill(const std::string& line, const std::map<std::string, std::string>& values) {
  std::string out;
  for (size_t i = 0; i < line.size(); ++i) {
    const size_t close = line[i] == '{' ? line.find('}', i) : std::string::npos;
    if (close == std::string::npos) {
      out += line[i];
      continue;
    }
    out += values.at(line.substr(i + 1, close - i - 1));
    i = close;
  }
  return out;
}

const std::vector<std::string> kAllTokens = [] {
  std::vector<std::string> tokens;
  for (const Placeholder& p : kPlaceholders) tokens.push_back(p.token);
  return tokens;
}();

Context ContextOf(const std::string& text, bool confirm) {
  Context context;
  context.confirm = confirm;
  for (const std::string& token : kAllTokens) {
    if (text.find(token) != std::string::npos) context.tokens.insert(token);
  }
  return context;
}

struct LauncherCase {
  std::string name = "Viewer";
  std::string path = "C:\\Tools\\viewer.exe";
  std::string dir = "C:\\Tools\\";
  std::string argments;
  int style = 1;
  bool confirm = false;
  std::string title = "Viewer";
};

std::map<std::string, std::string> Values(const LauncherCase& c) {
  return {{"VERSION", VersionText},
          {"RIGHTS", RightsNotice},
          {"PATH", c.path},
          {"DIR", c.dir},
          {"TEMPLATE", ExpectedLiteral(c.argments)},
          {"STYLE", std::to_string(c.style)},
          {"TITLE", c.title}};
}

// The expected file from the layout, either by the lines' conditions or by an
// explicit list of line numbers.
std::string ExpectedLauncher(const LauncherCase& c, const std::vector<int>* numbers = nullptr) {
  const Context context = ContextOf(c.argments, c.confirm);
  std::string bytes;
  for (const LayoutLine& line : LauncherLayout()) {
    const bool wanted =
        numbers ? std::count(numbers->begin(), numbers->end(), line.number) > 0 : line.when(context);
    if (wanted) bytes += Fill(line.text, Values(c)) + "\r\n";
  }
  return bytes;
}

std::string ExpectedFixedString(const std::string& text, const std::vector<int>* numbers = nullptr) {
  const Context context = ContextOf(text, false);
  std::string bytes;
  for (const LayoutLine& line : FixedStringLayout()) {
    const bool wanted =
        numbers ? std::count(numbers->begin(), numbers->end(), line.number) > 0 : line.when(context);
    if (wanted) {
      bytes +=
          Fill(line.text,
               {{"VERSION", VersionText}, {"RIGHTS", RightsNotice}, {"TEMPLATE", ExpectedLiteral(text)}}) +
          "\r\n";
    }
  }
  return bytes;
}

std::vector<int> Span(std::initializer_list<std::pair<int, int>> ranges) {
  std::vector<int> numbers;
  for (const auto& [first, last] : ranges) {
    for (int n = first; n <= last; ++n) numbers.push_back(n);
  }
  return numbers;
}

std::string Generate(const LauncherCase& c) {
  return LauncherScriptText(c.name, c.path, c.argments, c.style, c.confirm);
}

class ScriptText : public ::testing::Test {
 protected:
  void SetUp() override {
    VersionText = "1.05";
    RightsNotice = "Copyright (C) Orbisk developers";
  }
};

}  // namespace

TEST_F(ScriptText, LinkUrlExampleByteForByte) {
  LauncherCase c;
  c.argments = "<AU>";
  const std::string expected =
      "<!--\r\nOrbisk 1.05\r\nCopyright (C) Orbisk developers\r\n\r\n-->\r\n"
      "<SCRIPT TYPE=\"text/vbscript\" LANGUAGE=\"VBScript\" CHARSET=\"Shift_JIS\">\r\n"
      "Option Explicit\r\n"
      "CONST EXE_PATH = \"C:\\Tools\\viewer.exe\"\r\n"
      "CONST EXE_DIR = \"C:\\Tools\\\"\r\n"
      "Dim objWshShell\r\nDim objWin\r\nDim objElm\r\nDim strTag\r\nDim strAnchorUrl\r\nDim strArgments\r\n"
      "On Error Resume Next\r\n"
      "Set objWshShell = CreateObject(\"Wscript.Shell\")\r\n"
      "Set objWin = external.menuArguments\r\n"
      "Set objElm = objWin.event.srcElement\r\n"
      "strTag = objElm.tagName\r\n"
      "Select Case strTag\r\nCase \"A\"\r\nstrAnchorUrl = objElm.href\r\nCase \"IMG\"\r\n"
      "If objElm.parentElement.tagName = \"A\" Then\r\nstrAnchorUrl = objElm.parentElement.href\r\nEnd If\r\n"
      "End Select\r\n"
      "strArgments = \"<AU>\"\r\n"
      "strArgments = Replace(strArgments, \"<AU>\", strAnchorUrl)\r\n"
      "objWshShell.CurrentDirectory = EXE_DIR\r\n"
      "Err = 0\r\n"
      "objWshShell.Run CHR(34) & EXE_PATH & CHR(34) & \" \" & strArgments, 1, 0\r\n"
      "If Err <> 0 Then\r\n"
      "objWshShell.Popup "
      "\"プログラムの起動に失敗しました。\", 0, \"Viewer\", 16\r\n"
      "End If\r\n"
      "Set objWshShell = Nothing\r\n"
      "</SCRIPT>\r\n";
  EXPECT_EQ(Generate(c), expected);
  const std::vector<int> lines = Span({{1, 11},
                                       {15, 16},
                                       {22, 22},
                                       {28, 31},
                                       {34, 34},
                                       {36, 36},
                                       {41, 43},
                                       {45, 45},
                                       {48, 49},
                                       {51, 51},
                                       {73, 73},
                                       {78, 78},
                                       {87, 87},
                                       {114, 119},
                                       {121, 121},
                                       {131, 131}});
  EXPECT_EQ(ExpectedLauncher(c, &lines), expected) << "the layout table itself";
}

TEST_F(ScriptText, EmptyTemplateExample) {
  LauncherCase c;
  const std::vector<int> lines = Span({{1, 11}, {28, 31}, {78, 78}, {114, 119}, {121, 121}, {131, 131}});
  const std::string text = Generate(c);
  EXPECT_EQ(text, ExpectedLauncher(c, &lines));
  EXPECT_NE(text.find("\r\nstrArgments = \"\"\r\n"), std::string::npos);
}

TEST_F(ScriptText, FixedStringDateExample) {
  const std::string text = "<Y4>/<M2>/<D2>";
  const std::vector<int> lines = Span({{1, 22}, {23, 23}, {25, 25}, {27, 27}, {43, 46}});
  const std::string generated = FixedStringScriptText(text);
  EXPECT_EQ(generated, ExpectedFixedString(text, &lines));
  EXPECT_NE(generated.find(
                "\r\nstrFixedString = Replace(strFixedString, \"<M2>\", Right(CStr(Month(Now) + 100), 2))"
                "\r\nstrFixedString = Replace(strFixedString, \"<D2>\", Right(CStr(Day(Now) + 100), 2))"
                "\r\nobjFrmDoc.selection.createRange().text = strFixedString\r\nEnd If\r\nEnd If\r\n"
                "</SCRIPT>\r\n"),
            std::string::npos);
  EXPECT_NE(generated.find("\r\nstrType =  LCase(objElm.type)\r\n"), std::string::npos);
}

TEST_F(ScriptText, ChosenTemplatesByLineNumbers) {
  struct Case {
    std::string argments;
    bool confirm;
    std::vector<int> lines;
  } cases[] = {
      // Only the top title, converted: no line 79, the function at the end.
      {"<TT2>", false,
       Span({{1, 12}, {17, 17}, {28, 32}, {37, 37}, {78, 78}, {81, 81}, {114, 119}, {121, 131}})},
      // Link text and image URL: both element lookups, the image one last.
      {"<AT> <IU>", false,
       Span({{1, 11},
             {13, 16},
             {21, 21},
             {23, 23},
             {28, 31},
             {33, 36},
             {41, 42},
             {44, 46},
             {48, 48},
             {50, 54},
             {56, 57},
             {59, 61},
             {63, 70},
             {72, 73},
             {78, 78},
             {88, 89},
             {114, 119},
             {121, 121},
             {131, 131}})},
      // Lower-case tokens are no tokens.
      {"<au> <tt> <y4> <\\n>", false,
       Span({{1, 11}, {28, 31}, {78, 78}, {114, 119}, {121, 121}, {131, 131}})},
      // Every token, shown instead of run.
      {"", true, Span({{1, 113}, {120, 131}})},
      {"<IT><\\N><\\T><ST><SS>", true,
       Span({{1, 11}, {13, 13}, {25, 31}, {33, 33}, {74, 78}, {91, 92}, {111, 113}, {120, 121}, {131, 131}})},
  };
  for (Case& c : cases) {
    LauncherCase input;
    input.argments = c.argments;
    if (c.argments.empty()) {
      for (const std::string& token : kAllTokens) input.argments += token + " ";
    }
    input.confirm = c.confirm;
    EXPECT_EQ(Generate(input), ExpectedLauncher(input, &c.lines)) << input.argments;
  }
}

TEST_F(ScriptText, NamesPathsStylesAndQuoting) {
  std::vector<LauncherCase> cases(7);
  cases[0].name = "  R&&D &Tools  ";
  cases[0].title = "RD Tools";
  cases[1].path = cases[1].dir = "viewer.exe";  // no backslash: the whole path
  cases[2].path = "C:\\\x95\x5C\\app.exe";      // 表 ends in 0x5C
  cases[2].dir = "C:\\\x95\x5C\\";
  cases[3].argments = "\"<AU>\" /x \"a b\"";
  cases[3].style = 3;
  cases[4].argments = "<a href=\"x\">y</a></SCRIPT></script ";
  cases[4].style = 0;
  cases[5].argments = "<TU>\"</\"<FU2>";
  cases[5].confirm = true;
  cases[6].path = "C:\\Tools\\";
  cases[6].dir = "C:\\Tools\\";
  for (const LauncherCase& c : cases) {
    EXPECT_EQ(Generate(c), ExpectedLauncher(c)) << c.argments;
  }
  // Blanks around the path are dropped for both constants.
  LauncherCase padded;
  padded.path = "  C:\\Tools\\viewer.exe  ";
  EXPECT_EQ(Generate(padded), ExpectedLauncher(LauncherCase{}));
}

TEST_F(ScriptText, NoClosingTagInsideTheScript) {
  for (const std::string text : {"</script>", "a</SCRIPT>b", "<</", "</</", "\"</\"", "</ScRiPt >"}) {
    LauncherCase c;
    c.argments = text;
    for (const std::string& script : {Generate(c), FixedStringScriptText(text)}) {
      const size_t open = script.find("<SCRIPT");
      const size_t close = script.find("</");
      EXPECT_EQ(close, script.size() - std::string("</SCRIPT>\r\n").size()) << text;
      EXPECT_LT(open, close);
    }
  }
  // Without "</" the literal is the text with its quotes doubled up, no more.
  LauncherCase c;
  c.argments = "a/b <x> \"q\"";
  EXPECT_NE(Generate(c).find("strArgments = \"a/b <x> \" & CHR(34) & \"q\" & CHR(34) & \"\"\r\n"),
            std::string::npos);
}

TEST_F(ScriptText, EveryLineAppearsExactlyWhenItsConditionHolds) {
  std::vector<std::string> pieces = kAllTokens;
  for (const char* extra : {"x", " ", "\"", "</", "\x95\x5C", "&", "<", ">", "<script>", "/", "<tu>", "<Au>",
                            "<IT", "TT>", "<\\n>", "{", "}"}) {
    pieces.push_back(extra);
  }
  std::mt19937 random(20240607);
  for (int round = 0; round < 600; ++round) {
    std::string text;
    const int count = std::uniform_int_distribution<int>(0, 9)(random);
    for (int i = 0; i < count; ++i) {
      text += pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(random)];
    }
    LauncherCase c;
    c.argments = text;
    c.style = std::uniform_int_distribution<int>(0, 3)(random);
    c.confirm = std::uniform_int_distribution<int>(0, 1)(random) == 1;
    ASSERT_EQ(Generate(c), ExpectedLauncher(c)) << "template: " << text << " confirm " << c.confirm;
    ASSERT_EQ(FixedStringScriptText(text), ExpectedFixedString(text)) << "fixed string: " << text;
  }
}

TEST_F(ScriptText, FixedStringSubstitutesOnlyItsSixteenTokens) {
  std::string every;
  for (const std::string& token : kAllTokens) every += token;
  const std::string script = FixedStringScriptText(every);
  int substituted = 0;
  for (const Placeholder& p : kPlaceholders) {
    const bool has =
        script.find(std::string("Replace(strFixedString, \"") + p.token + "\"") != std::string::npos;
    EXPECT_EQ(has, p.fixedString) << p.token;
    substituted += has;
  }
  EXPECT_EQ(substituted, kFixedStringTokenCount);
  // Both weekday arrays, each declared right before its substitution.
  EXPECT_NE(
      script.find("Dim aryWeekdayEng\r\naryWeekdayEng = Split(\"Sun Mon Tue Wed Thu Fri Sat\")\r\n"
                  "strFixedString = Replace(strFixedString, \"<WE>\", aryWeekdayEng(Weekday(Now) - 1))\r\n"
                  "Dim aryWeekdayJpn\r\n"),
      std::string::npos);
}

TEST_F(ScriptText, FileFormat) {
  LauncherCase c;
  c.argments = "<TT2><WJ>";
  for (const std::string& script : {Generate(c), FixedStringScriptText("<WJ> \"x\"")}) {
    EXPECT_NE(static_cast<unsigned char>(script[0]), 0xEF) << "no byte-order mark";
    ASSERT_GE(script.size(), 2u);
    EXPECT_EQ(script.substr(script.size() - 2), "\r\n");
    for (size_t i = 0; i < script.size(); ++i) {
      if (script[i] == '\n') {
        EXPECT_EQ(script[i - 1], '\r') << "bare LF at " << i;
      } else if (script[i] == '\r') {
        EXPECT_EQ(script[i + 1], '\n') << "bare CR at " << i;
      }
    }
  }
}

TEST(Placeholders, MenuTable) {
  const char* groups[] = {"&URL",     "タイトル(&T)", "リンク(&A)", "画像(&I)",
                          "選択(&S)", "日時(&D)",     "その他(&O)"};
  const int sizes[] = {4, 4, 2, 2, 2, 14, 3};
  int total = 0;
  for (int g = 0; g < kPlaceholderGroupCount; ++g) {
    EXPECT_EQ(static_cast<int>(kPlaceholderGroups[g].id), g);
    EXPECT_STREQ(kPlaceholderGroups[g].caption, groups[g]);
    EXPECT_EQ(PlaceholdersOf(kPlaceholderGroups[g].id).size(), sizes[g]);
    total += sizes[g];
  }
  EXPECT_EQ(total, kPlaceholderCount);
  std::set<std::string> tokens;
  int fixed = 0;
  for (const Placeholder& p : kPlaceholders) {
    tokens.insert(p.token);
    fixed += p.fixedString;
    // The caption starts with the token, "&" marking one of its letters.
    std::string shown = p.caption;
    shown = shown.substr(0, shown.find(" - "));
    shown.erase(shown.find('&'), 1);
    EXPECT_EQ(shown, p.token);
    EXPECT_EQ(FindPlaceholder(p.token), &p);
  }
  EXPECT_EQ(tokens.size(), 31u);
  EXPECT_EQ(fixed, kFixedStringTokenCount);
  EXPECT_EQ(FindPlaceholder("<tu>"), nullptr);
  // In fixed-string mode only the date and time group and the other group.
  for (const PlaceholderGroup& group : kPlaceholderGroups) {
    EXPECT_EQ(GroupOfferedForFixedString(group.id),
              group.id == TokenGroup::DateTime || group.id == TokenGroup::Other);
  }
  EXPECT_STREQ(PlaceholdersOf(TokenGroup::Other).begin()[2].token, "<IT>");
  EXPECT_FALSE(PlaceholdersOf(TokenGroup::Other).begin()[2].fixedString);
  // Full-width tilde and digits reach the captions as code page 932.
  EXPECT_STREQ(PlaceholdersOf(TokenGroup::DateTime).begin()[2].caption, "<&M2> - 月２桁(01 ～ 12)");
  EXPECT_STREQ(kPlaceholders[0].caption, "<&TU> - ページ（フレーム分割されている場合はトップ）のURL");
}
