// The substitution engine against the generated launcher scripts themselves:
// random templates and random page facts, each script's code run by Wine's
// cscript over the browser stand-in, and the text the script passes to
// WshShell's Run (or shows for confirmation) compared with the engine's.
//
// Running one cscript per case costs a Wine process start each, so the cases
// run in batches: each case's code becomes the body of a Sub of its own, its
// statements unchanged, with the one function every script declares the same
// way (cnvNarrowToWide) taken once. In these batches WScript.Shell is a stand-in
// that records what Run and Popup receive; a few cases also go the whole way,
// through the registered script file, the real WshShell.Run and the recorder
// program, so that nothing the stand-in does differently goes unseen.
//
// The seed is printed; ORBISK_PROOF_SEED=<n> repeats a run.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "catalogue/launcher_script.h"
#include "catalogue/menu_registration.h"
#include "catalogue/placeholders.h"
#include "catalogue/substitution.h"
#include "tests/harness/browser_standin.h"
#include "tests/harness/clock_values.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/recorded_starts.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"

namespace {

constexpr int kCases = 320;
constexpr int kBatchSize = 40;
constexpr int kWholeWayCases = 4;

const std::string kStartFailed = "プログラムの起動に失敗しました。";

// The recorder's path holds a blank and a trail byte 0x5C (表).
const std::string kAppFolder = "apps\\ビューア 表\\";

struct ProofCase {
  std::string argments;
  PageFacts facts;
  PageFixture page;
  int style = 1;
  bool confirm = false;
};

std::uint32_t Seed() {
  const char* given = std::getenv("ORBISK_PROOF_SEED");
  return given && *given ? static_cast<std::uint32_t>(std::strtoul(given, nullptr, 10)) : 20240612u;
}

class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }
  bool OneIn(int n) { return Below(n) == 0; }
  template <typename T>
  const T& Pick(const std::vector<T>& from) {
    return from[static_cast<size_t>(Below(static_cast<int>(from.size())))];
  }

 private:
  std::mt19937 engine_;
};

std::vector<std::string> Tokens() {
  std::vector<std::string> tokens;
  for (const Placeholder& p : kPlaceholders) tokens.push_back(p.token);
  return tokens;
}

// Text that is no token but looks like one or is hard to carry through a
// script literal: quotes, "&", markup, the nine narrow characters, double-
// byte characters with trail bytes 0x5C and 0x7C, half-width kana.
const std::vector<std::string> kTextPieces = {
    "a",
    "Z",
    " ",
    "  ",
    "\"",
    "\"\"",
    "&",
    "&amp;",
    "'",
    "<",
    ">",
    "</",
    "</SCRIPT>",
    "<!--",
    "-->",
    "\\",
    "/",
    ":",
    "*",
    "?",
    "|",
    "%20",
    "http://www.example.jp/",
    "?q=1&r=2",
    "#top",
    "表",
    "ソ",
    "ポ",
    "能",
    "日本語",
    "ﾃｽﾄ",
    "￥",
    "”",
    "＜",
    "＞",
    "　",
    "<tu>",
    "<It>",
    "<TT",
    "TU>",
    "<\\n>",
    "2",
    "CHR(34)",
    "\" & \"",
    "Rem",
    "'x",
};

// Each case draws most of its tokens, in the template and in the values
// alike, from a few of its own that are neighbours in the order of the
// substitution lines, so that values often hold tokens the template has and
// any two lines in the wrong order show.
std::vector<std::string> CaseTokens(Random& random) {
  const std::vector<std::string_view> order = SubstitutionOrder();
  const int count = 2 + random.Below(2);
  const int first = random.Below(static_cast<int>(order.size()) - count + 1);
  std::vector<std::string> tokens;
  for (int i = first; i < first + count; ++i) tokens.emplace_back(order[static_cast<size_t>(i)]);
  return tokens;
}

const std::string& RandomToken(Random& random, const std::vector<std::string>& caseTokens) {
  static const std::vector<std::string> all = Tokens();
  return random.OneIn(5) ? random.Pick(all) : random.Pick(caseTokens);
}

// A template as the edit dialog admits it (no line breaks or tabs) that
// holds the case's tokens among other pieces.
std::string RandomTemplate(Random& random, const std::vector<std::string>& caseTokens) {
  std::vector<std::string> pieces = caseTokens;
  const int extra = random.Below(6);
  for (int i = 0; i < extra; ++i) {
    pieces.push_back(random.OneIn(3) ? RandomToken(random, caseTokens) : random.Pick(kTextPieces));
  }
  for (size_t i = pieces.size(); i > 1; --i)
    std::swap(pieces[i - 1], pieces[random.Below(static_cast<int>(i))]);
  std::string text;
  for (const std::string& piece : pieces) text += piece;
  return text;
}

// A page value: often empty, often holding tokens, with blanks, line breaks
// and tabs anywhere.
std::string RandomValue(Random& random, const std::vector<std::string>& caseTokens) {
  if (random.OneIn(5)) return {};
  std::string text;
  const int pieces = 1 + random.Below(5);
  for (int i = 0; i < pieces; ++i) {
    const int kind = random.Below(10);
    if (kind < 5) {
      text += RandomToken(random, caseTokens);
    } else if (kind == 5) {
      text += random.OneIn(2) ? "\r\n" : "\t";
    } else {
      text += random.Pick(kTextPieces);
    }
  }
  return text;
}

PageElement Element(const char* tag) {
  PageElement element;
  element.tagName = tag;
  return element;
}

// Random facts and the stand-in page that gives exactly them.
ProofCase RandomCase(Random& random) {
  ProofCase c;
  const std::vector<std::string> caseTokens = CaseTokens(random);
  c.argments = RandomTemplate(random, caseTokens);
  c.style = random.Below(4);
  c.confirm = random.OneIn(4);
  PageFacts& f = c.facts;
  for (std::string& value : f.values) value = RandomValue(random, caseTokens);
  // Wine's VBScript Trim removes tabs, line breaks and full-width blanks as
  // well, where Windows' removes blanks only: a selection ending in one of
  // them would show that difference, not the engine's. So the selection
  // here is blanks around text that starts and ends with a visible
  // character; the native tests hold the engine to blanks only.
  const std::string blanks[] = {"", " ", "   "};
  switch (random.Below(4)) {
    case 0:
      f[Fact::SelectionText] = blanks[random.Below(3)];
      break;
    default:
      f[Fact::SelectionText] =
          blanks[random.Below(3)] + "[" + RandomValue(random, caseTokens) + "]" + blanks[random.Below(3)];
      break;
  }
  PageFixture& page = c.page;
  page.topUrl = f[Fact::TopUrl];
  page.topTitle = f[Fact::TopTitle];
  page.framed = !random.OneIn(3);
  if (page.framed) {
    page.frameUrl = f[Fact::FrameUrl];
    page.frameTitle = f[Fact::FrameTitle];
  } else {
    f[Fact::FrameUrl] = f[Fact::TopUrl];
    f[Fact::FrameTitle] = f[Fact::TopTitle];
  }
  PageElement link = Element("A"), image = Element("IMG");
  link.href = f[Fact::LinkUrl];
  link.innerText = f[Fact::LinkText];
  image.src = f[Fact::ImageUrl];
  image.alt = f[Fact::ImageAlt];
  switch (random.Below(6)) {
    case 0:
    case 1:
    case 2:  // an image inside a link: both kinds of fact
      image.parent = 0;
      page.elements = {link, image};
      page.sourceElement = page.pointElement = 1;
      page.images = {1};
      break;
    case 3:  // a link alone
      page.elements = {link};
      page.sourceElement = page.pointElement = 0;
      f[Fact::ImageUrl].clear();
      f[Fact::ImageAlt].clear();
      break;
    case 4:  // an image alone
      page.elements = {image};
      page.sourceElement = page.pointElement = 0;
      page.images = {0};
      f[Fact::LinkUrl].clear();
      f[Fact::LinkText].clear();
      break;
    default:  // plain text
      page.elements = {Element("P")};
      page.sourceElement = page.pointElement = 0;
      for (const Fact fact : {Fact::LinkUrl, Fact::LinkText, Fact::ImageUrl, Fact::ImageAlt}) f[fact].clear();
      break;
  }
  page.selectionText = f[Fact::SelectionText];
  page.selectionHtml = f[Fact::SelectionSource];
  if (f[Fact::InputText].empty() && random.OneIn(2)) {
    page.promptAnswer.reset();  // cancelled: the same as typing nothing
  } else {
    page.promptAnswer = f[Fact::InputText];
  }
  return c;
}

LocalTime ToLocalTime(const SYSTEMTIME& t) {
  return {t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond};
}

// True when the engine gives actual for some reading of the clock within
// moments: the script reads the clock once per date line, never backwards, so
// every non-decreasing choice of moments for the engine's reads is tried.
bool EngineGives(const ProofCase& c, const std::vector<SYSTEMTIME>& moments, const std::string& actual,
                 std::string* engineResult) {
  int reads = 0;
  SubstituteArguments(c.argments, c.facts, [&] {
    ++reads;
    return LocalTime{};
  });
  std::vector<size_t> choice(static_cast<size_t>(reads), 0);
  for (;;) {
    size_t next = 0;
    *engineResult =
        SubstituteArguments(c.argments, c.facts, [&] { return ToLocalTime(moments[choice[next++]]); });
    if (*engineResult == actual) return true;
    // The next non-decreasing sequence of moment indices, last read first.
    int i = reads - 1;
    while (i >= 0 && choice[i] + 1 >= moments.size()) --i;
    if (i < 0) return false;
    ++choice[i];
    for (int j = i + 1; j < reads; ++j) choice[j] = choice[i];
  }
}

std::string Hex(const std::string& bytes) {
  std::string hex;
  char digits[4];
  for (const char c : bytes) {
    snprintf(digits, sizeof digits, "%02X ", static_cast<unsigned char>(c));
    hex += digits;
  }
  return hex;
}

// Failure messages carry the texts in code page 932, as the test's output is.
std::string Describe(const ProofCase& c) {
  std::string text = "template [" + c.argments + "]";
  for (int f = 0; f < kFactCount; ++f) {
    text += "\n  " + std::string(FactName(static_cast<Fact>(f))) + " [" + c.facts.values[f] + "]";
  }
  return text + (c.confirm ? "\n  with confirmation" : "");
}

SYSTEMTIME ParseMoment(const std::string& text) {
  const std::vector<std::string> parts = SplitValues(text, ',');
  SYSTEMTIME t = {};
  if (parts.size() != 6) return t;
  t.wYear = static_cast<WORD>(atoi(parts[0].c_str()));
  t.wMonth = static_cast<WORD>(atoi(parts[1].c_str()));
  t.wDay = static_cast<WORD>(atoi(parts[2].c_str()));
  t.wHour = static_cast<WORD>(atoi(parts[3].c_str()));
  t.wMinute = static_cast<WORD>(atoi(parts[4].c_str()));
  t.wSecond = static_cast<WORD>(atoi(parts[5].c_str()));
  // The day of the week, as the system computes it.
  FILETIME file;
  SystemTimeToFileTime(&t, &file);
  FileTimeToSystemTime(&file, &t);
  return t;
}

// What one case's code did in a batch.
struct Outcome {
  bool finished = false;
  std::string calls;      // "R" per Run, "P" per Popup, in order
  std::string runText;    // what the last Run received
  std::string popupText;  // what the last Popup showed
  std::vector<SYSTEMTIME> moments;
};

// Records the WScript.Shell calls; the real objects otherwise.
constexpr char kShellStandIn[] = R"VB(
Dim proofCalls
Dim proofRunText
Dim proofPopupText
Class ProofShell
Public CurrentDirectory
Public Function Run(command, style, wait)
proofCalls = proofCalls & "R"
proofRunText = command
Run = 0
End Function
Public Function Popup(text, seconds, title, kind)
proofCalls = proofCalls & "P"
proofPopupText = text
Popup = 1
End Function
End Class
Function CreateObject(progId)
If LCase(progId) = "wscript.shell" Then
Set CreateObject = New ProofShell
Else
Set CreateObject = WScript.CreateObject(progId)
End If
End Function
Dim proofResults
Sub ProofRecord(before, after)
proofResults = proofResults & before & Chr(31) & after & Chr(31) & proofCalls & Chr(31) & _
  CStr(proofRunText) & Chr(31) & CStr(proofPopupText) & Chr(30)
End Sub
Function ProofNow()
Dim n
n = Now
ProofNow = Year(n) & "," & Month(n) & "," & Day(n) & "," & Hour(n) & "," & Minute(n) & "," & Second(n)
End Function
)VB";

// The batch's results file: fields and records ended by these two control
// characters, which no generated value holds.
constexpr char kFieldEnd = '\x1F';
constexpr char kRecordEnd = '\x1E';

constexpr char kOptionExplicit[] = "Option Explicit\r\n";
constexpr char kWideFunction[] = "Function cnvNarrowToWide(strSource)\r\n";

class SubstitutionProof : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    app_ = ProgramFolder() + kAppFolder + "viewer.exe";
  }

  // Runs the cases' code in one cscript run; false with a reason when the
  // composed script cannot be made.
  bool RunBatch(const std::vector<ProofCase>& cases, int firstNumber, std::vector<Outcome>* outcomes,
                std::string* error) {
    const auto fail = [error](const char* why) {
      *error = why;
      return false;
    };
    // A folder of its own for every run: removing the last one's costs more
    // under Wine than the run itself.
    const std::string work = ProgramFolder() + "batch" + std::to_string(firstNumber) + "\\";
    DeleteTree(work);
    CreateDirectoryA(work.c_str(), nullptr);
    std::string subs, wideFunction, calls;
    for (size_t i = 0; i < cases.size(); ++i) {
      const ProofCase& c = cases[i];
      std::string code = ExtractScriptCode(LauncherScriptText("Proof", app_, c.argments, c.style, c.confirm));
      const size_t option = code.find(kOptionExplicit);
      if (option == std::string::npos) return fail("no Option Explicit in the script");
      code.erase(0, option + sizeof kOptionExplicit - 1);
      const size_t function = code.find(kWideFunction);
      if (function != std::string::npos) {
        // The function is the script's last part and the same in every script.
        const std::string text = code.substr(function);
        if (!wideFunction.empty() && text != wideFunction) return fail("scripts differ in their function");
        wideFunction = text;
        code.erase(function);
      }
      const std::string n = std::to_string(firstNumber + static_cast<int>(i));
      subs += StandInPageSub(c.page, "ProofPage" + n) + "Sub ProofCase" + n + "()\r\n" + code + "End Sub\r\n";
      calls +=
          "ProofPage" + n + "\r\nproofCalls = \"\"\r\nproofRunText = Empty\r\nproofPopupText = Empty\r\n";
      calls += "proofBefore = ProofNow()\r\nProofCase" + n + "\r\n";
      calls += "ProofRecord proofBefore, ProofNow()\r\n";
    }
    const std::string script = std::string(kOptionExplicit) + StandInClasses() + kShellStandIn + subs +
                               wideFunction + "Dim proofBefore\r\n" + calls +
                               "StandInWrite CreateObject(\"Scripting.FileSystemObject\"), " +
                               VbText(work + "results") + ", proofResults\r\n";
    if (!WriteFileBytes(work + "batch.vbs", script)) return fail("cannot write the batch script");
    if (RunProcess("c:\\windows\\system32\\cscript.exe //nologo \"" + work + "batch.vbs\"", 120000, work) ==
        -1) {
      return fail("cscript did not start or end");
    }
    // One record per case that ran to its end, fields in the order of
    // ProofRecord; none at all when the script stopped early.
    const std::vector<std::string> records = SplitValues(ReadFileBytes(work + "results"), kRecordEnd);
    outcomes->assign(cases.size(), Outcome{});
    for (size_t i = 0; i < cases.size() && i + 1 < records.size(); ++i) {
      const std::vector<std::string> fields = SplitValues(records[i], kFieldEnd);
      if (fields.size() != 5) continue;
      Outcome& outcome = (*outcomes)[i];
      outcome.finished = true;
      outcome.moments = SecondsBetween(ParseMoment(fields[0]), ParseMoment(fields[1]));
      outcome.calls = fields[2];
      outcome.runText = fields[3];
      outcome.popupText = fields[4];
    }
    return true;
  }

  std::string app_;
};

TEST_F(SubstitutionProof, EngineGivesWhatTheScriptsBuild) {
  const std::uint32_t seed = Seed();
  std::printf("substitution proof: seed %u (ORBISK_PROOF_SEED=%u repeats it), %d cases\n", seed, seed,
              kCases);
  std::fflush(stdout);
  Random random(seed);
  std::vector<ProofCase> cases;
  for (int i = 0; i < kCases; ++i) cases.push_back(RandomCase(random));

  int compared = 0;
  for (int first = 0; first < kCases; first += kBatchSize) {
    const std::vector<ProofCase> batch(cases.begin() + first,
                                       cases.begin() + std::min(kCases, first + kBatchSize));
    std::vector<Outcome> outcomes;
    std::string error;
    ASSERT_TRUE(RunBatch(batch, first, &outcomes, &error)) << error << " (seed " << seed << ")";
    for (size_t i = 0; i < batch.size(); ++i) {
      const ProofCase& c = batch[i];
      const Outcome& outcome = outcomes[i];
      const int number = first + static_cast<int>(i);
      if (!outcome.finished) {
        // A case that stops the batch (a script that does not compile) is
        // found by running it alone.
        std::vector<Outcome> alone;
        RunBatch({c}, number, &alone, &error);
        ADD_FAILURE() << "case " << number << " (seed " << seed << ") did not run to its end"
                      << (alone.size() == 1 && !alone[0].finished ? ", not even alone" : "") << "\n"
                      << Describe(c);
        continue;
      }
      // Wine's VBScript fails on "Err = 0" (error 445), so after Run the
      // script always shows its failure box there; Windows does not.
      if (c.confirm) {
        EXPECT_EQ(outcome.calls, "P") << "case " << number << " (seed " << seed << ")";
      } else {
        EXPECT_TRUE(outcome.calls == "R" || (outcome.calls == "RP" && outcome.popupText == kStartFailed))
            << "case " << number << " (seed " << seed << "): " << outcome.calls << " " << outcome.popupText;
      }
      const std::string& commandLine = c.confirm ? outcome.popupText : outcome.runText;
      const std::string prefix = "\"" + app_ + "\" ";
      if (commandLine.compare(0, prefix.size(), prefix) != 0) {
        ADD_FAILURE() << "case " << number << " (seed " << seed << "): command line " << commandLine;
        continue;
      }
      std::string engine;
      EXPECT_TRUE(EngineGives(c, outcome.moments, commandLine.substr(prefix.size()), &engine))
          << "case " << number << " (seed " << seed << ")\n"
          << Describe(c) << "\n script: [" << commandLine.substr(prefix.size()) << "]\n engine: [" << engine
          << "]\n script: " << Hex(commandLine.substr(prefix.size())) << "\n engine: " << Hex(engine);
      ++compared;
    }
  }
  EXPECT_EQ(compared, kCases);
}

// The whole way for a few cases: the script file as registered, run with the
// real WshShell.Run, and the command line the started program received.
TEST_F(SubstitutionProof, WholeWayToTheStartedProgram) {
  const std::uint32_t seed = Seed() + 1;
  std::printf("substitution proof, whole way: seed %u\n", seed);
  Random random(seed);
  ASSERT_TRUE(InstallRecorder(app_));
  for (int n = 0; n < kWholeWayCases; ++n) {
    ProofCase c = RandomCase(random);
    c.confirm = false;
    const std::string name = "Proof " + std::to_string(n);
    ASSERT_TRUE(WriteLauncherScript(name, app_, c.argments, c.style, false));
    ASSERT_TRUE(RegisterMenuEntry(name, false, {true, true, true, true}));
    // Wine's WshShell.Run sets Err although the program started, so the
    // script's failure box follows every start here.
    ExpectMessageBox(IDOK);
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    const ScriptRun run = RunMenuScript(name, c.page, ProgramFolder() + "page\\");
    const std::vector<RecordedStart> starts = WaitForRecordedStarts(app_, 1);
    GetLocalTime(&after);
    ASSERT_TRUE(run.completed) << run.error;
    ASSERT_EQ(starts.size(), 1u) << "case " << n << " (seed " << seed << ")";
    const RecordedStart& recorded = starts[0];
    ASSERT_TRUE(InstallRecorder(app_));
    const std::string quoted = "\"" + app_ + "\"";
    std::string arguments = recorded.commandLine.substr(std::min(recorded.commandLine.size(), quoted.size()));
    // Wine drops the blank after the path when nothing follows it.
    if (!arguments.empty() && arguments[0] == ' ') arguments.erase(0, 1);
    EXPECT_EQ(recorded.commandLine.compare(0, quoted.size(), quoted), 0) << recorded.commandLine;
    std::string engine;
    EXPECT_TRUE(EngineGives(c, SecondsBetween(before, after), arguments, &engine))
        << "case " << n << " (seed " << seed << ")\n"
        << Describe(c) << "\n program got: [" << arguments << "]\n engine: [" << engine << "]";
  }
}

}  // namespace
