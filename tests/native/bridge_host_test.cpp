// The browser bridge's host without the platform: frames, requests, the
// answers to every kind of message, what a pick starts, the unasked list,
// the caller check and the manifests.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <random>

#include "bridge/host/extension_ids.h"
#include "bridge/host/framing.h"
#include "bridge/host/host_session.h"
#include "bridge/host/host_texts.h"
#include "bridge/host/manifests.h"
#include "bridge/host/request.h"
#include "bridge/host/windows_arguments.h"
#include "common/utf.h"
#include "tests/harness/item_records.h"
#include "tests/native/code_page.h"
#include "tests/native/japanese_system.h"

namespace {

using nlohmann::json;

// Tuesday, 5 March 2024, 07:08:09.
constexpr LocalTime kMoment = {2024, 3, 5, 2, 7, 8, 9};

class FakePlatform : public JapaneseSystemPlatform {
 public:
  std::vector<ItemRecord> items;
  std::string settings = "[ItemList]";
  bool readable = true;
  LaunchResult result = LaunchResult::Started;
  std::vector<LaunchPlan> launches;
  int loads = 0;

  CatalogueSnapshot ReadCatalogue() override {
    ++loads;
    return {items, settings, readable};
  }
  ProgramKind KindOfProgram(const std::u16string& application) override {
    const auto kind = kinds.find(application);
    return kind == kinds.end() ? ProgramKind::Program : kind->second;
  }
  std::map<std::u16string, ProgramKind> kinds;
  LocalTime Now() override { return kMoment; }
  LaunchResult Launch(const LaunchPlan& plan) override {
    launches.push_back(plan);
    return result;
  }
};

// A launcher item of the normal and link contexts.
ItemRecord Launcher(const std::string& name, const std::string& path, const std::string& argments) {
  return LauncherRecord(name, path, argments, {1, 0, 1, 0});
}

std::string U8(std::u16string_view text) { return Utf16ToUtf8(text); }

// A session over a fake platform whose answers are kept, parsed.
struct Conversation {
  explicit Conversation(bool allowed = true)
      : session(platform, allowed,
                [this](const std::string& body) { answers.push_back(json::parse(body)); }) {}
  json Ask(const std::string& body) {
    const size_t before = answers.size();
    session.Answer(body);
    EXPECT_EQ(answers.size(), before + 1) << body;
    return answers.empty() ? json() : answers.back();
  }
  FakePlatform platform;
  std::vector<json> answers;
  HostSession session;
};

void StandardItems(FakePlatform& platform) {
  platform.items = {Launcher("Ａ&B ページ", "C:\\Tools 表\\viewer.exe", "\"<TU>\" <TT2> /x"),
                    FixedStringRecord("日付", "<Y4>/<M2>/<D2> <TU>"),
                    Launcher("Link", "C:\\link.exe", "<AU> <IT> <ST>")};
  platform.items[2].Contexts = {0, 1, 1, 1};
}

TEST(BridgeHost, EveryBadMessageGetsAnErrorAndStartsNothing) {
  const struct {
    std::string body;
    std::string message;
  } cases[] = {
      {"", host_texts::Malformed()},
      {"{", host_texts::Malformed()},
      {"[]", host_texts::Malformed()},
      {"\"list\"", host_texts::Malformed()},
      {"42", host_texts::Malformed()},
      {"{\"type\":\"list\"} trailing", host_texts::Malformed()},
      {"{\"type\":\"\xFF\"}", host_texts::Malformed()},
      {std::string(64, '[') + std::string(64, ']'), host_texts::Malformed()},
      {"{\"type\":\"list\",\"x\":" + std::string(20, '[') + std::string(20, ']') + "}",
       host_texts::Malformed()},
      {"{}", host_texts::UnknownRequest()},
      {"{\"type\":1}", host_texts::UnknownRequest()},
      {"{\"type\":\"List\"}", host_texts::UnknownRequest()},
      {"{\"type\":\"start\"}", host_texts::UnknownRequest()},
      {"{\"type\":\"pick\"}", host_texts::NoItemName()},
      {"{\"type\":\"pick\",\"name\":\"\"}", host_texts::NoItemName()},
      {"{\"type\":\"pick\",\"name\":5}", host_texts::NoItemName()},
      {"{\"type\":\"pick\",\"name\":\"Link\",\"facts\":[]}", host_texts::BadFacts()},
      {"{\"type\":\"pick\",\"name\":\"Link\",\"facts\":\"x\"}", host_texts::BadFacts()},
      {"{\"type\":\"pick\",\"name\":\"Link\",\"facts\":{\"linkUrl\":1}}", host_texts::BadFacts()},
      {"{\"type\":\"pick\",\"name\":\"Link\",\"facts\":{\"linkUrl\":\"a\\u0000b\"}}", host_texts::BadFacts()},
      {"{\"type\":\"pick\",\"name\":\"Nope\"}", host_texts::UnknownItem()},
      {"{\"type\":\"pick\",\"name\":\"link\"}", host_texts::UnknownItem()},
      {"{\"type\":\"pick\",\"name\":\"Link \"}", host_texts::UnknownItem()},
  };
  for (const auto& c : cases) {
    Conversation talk;
    StandardItems(talk.platform);
    const json answer = talk.Ask(c.body);
    EXPECT_EQ(answer, (json{{"type", "error"}, {"message", c.message}})) << c.body;
    EXPECT_TRUE(talk.platform.launches.empty()) << c.body;
  }
}

TEST(BridgeHost, ListAnswersOrbisksItemsWithWhatEachNeeds) {
  Conversation talk;
  StandardItems(talk.platform);
  const json answer = talk.Ask("{\"type\":\"list\",\"extra\":true}");
  ASSERT_EQ(answer["type"], "items");
  EXPECT_EQ(answer["version"].get<std::string>().size(), 16u);
  // The names are code page 932 in the settings file and UTF-8 here.
  const json expected = json::parse(U8(Cp932ToUtf16(R"([
    {"name":"Ａ&B ページ","kind":"launcher",
     "contexts":{"page":true,"image":false,"link":true,"selection":false},"needs":["topUrl","topTitle"]},
    {"name":"日付","kind":"fixed",
     "contexts":{"page":false,"image":false,"link":false,"selection":false},"needs":[]},
    {"name":"Link","kind":"launcher",
     "contexts":{"page":false,"image":true,"link":true,"selection":true},
     "needs":["linkUrl","selectionText","inputText"]}])")));
  EXPECT_EQ(answer["items"], expected);
}

TEST(BridgeHost, VersionFollowsTheSettingsFileAndTheList) {
  Conversation talk;
  StandardItems(talk.platform);
  auto version = [&] { return talk.Ask("{\"type\":\"list\"}")["version"].get<std::string>(); };
  const std::string first = version();
  EXPECT_EQ(version(), first);
  talk.platform.settings += "\r\n";
  const std::string second = version();
  EXPECT_NE(second, first);
  talk.platform.items.pop_back();  // a menu entry went away; the file is the same
  EXPECT_NE(version(), second);
}

TEST(BridgeHost, PickStartsWhatTheItemNamesWithTheSubstitutedArguments) {
  const struct {
    int style;
    bool confirm;
    LaunchResult result;
    json answer;
  } cases[] = {
      {0, false, LaunchResult::Started, {{"type", "started"}}},
      {1, false, LaunchResult::Started, {{"type", "started"}}},
      {2, false, LaunchResult::Started, {{"type", "started"}}},
      {3, false, LaunchResult::Started, {{"type", "started"}}},
      {1, true, LaunchResult::Confirmed, {{"type", "confirmed"}}},
      {1, false, LaunchResult::Failed, {{"type", "error"}, {"message", host_texts::StartFailed()}}},
  };
  for (const auto& c : cases) {
    Conversation talk;
    StandardItems(talk.platform);
    talk.platform.items[0].WindowStyle = static_cast<int16_t>(c.style);
    talk.platform.items[0].ConfCmdLine = c.confirm;
    talk.platform.result = c.result;
    // Facts beyond code page 932 (Hangul, an emoji) reach the command line whole.
    const json pick = {{"type", "pick"},
                       {"name", U8(Cp932ToUtf16("Ａ&B ページ"))},
                       {"facts",
                        {{"topUrl", "http://x.example/?q=\"a\"&b"},
                         {"topTitle", FromU8(u8"한국어 😀 a/b:c")},
                         {"linkUrl", "ignored"},
                         {"unknownFact", "ignored"}}}};
    EXPECT_EQ(talk.Ask(pick.dump()), c.answer);
    ASSERT_EQ(talk.platform.launches.size(), 1u);
    const LaunchPlan& plan = talk.platform.launches[0];
    EXPECT_EQ(plan.application, Cp932ToUtf16("C:\\Tools 表\\viewer.exe"));
    EXPECT_EQ(plan.folder, Cp932ToUtf16("C:\\Tools 表\\"));
    // The quotes of the URL are escaped inside the template's quotes; the
    // title's blanks put its whole argument in quotes.
    EXPECT_EQ(plan.commandLine,
              Cp932ToUtf16("\"C:\\Tools 表\\viewer.exe\" \"http://x.example/?q=\\\"a\\\"&b\" ") +
                  u"\"\uD55C\uAD6D\uC5B4 \U0001F600 a／b：c\" /x");
    EXPECT_EQ(plan.showWindow, c.style);
    EXPECT_EQ(plan.confirm, c.confirm);
    EXPECT_EQ(plan.title, Cp932ToUtf16("ＡB ページ"));
  }
}

TEST(BridgeHost, PathsWithoutFolderAndStylesOutOfRange) {
  Conversation talk;
  talk.platform.items = {Launcher("  Bare  ", "  viewer.exe  ", ""), Launcher("Odd", "C:\\a\\b.exe", "<IT>")};
  talk.platform.items[1].WindowStyle = 9;
  EXPECT_EQ(talk.Ask(R"({"type":"pick","name":"  Bare  "})"), (json{{"type", "started"}}));
  EXPECT_EQ(talk.Ask(R"({"type":"pick","name":"Odd","facts":{"inputText":"typed"}})"),
            (json{{"type", "started"}}));
  ASSERT_EQ(talk.platform.launches.size(), 2u);
  EXPECT_EQ(talk.platform.launches[0].application, u"viewer.exe");
  EXPECT_EQ(talk.platform.launches[0].folder, u"viewer.exe");  // the script's EXE_DIR rule
  EXPECT_EQ(talk.platform.launches[0].commandLine, u"\"viewer.exe\" ");
  EXPECT_EQ(talk.platform.launches[0].title, u"Bare");
  EXPECT_EQ(talk.platform.launches[1].showWindow, 1);
  EXPECT_EQ(talk.platform.launches[1].commandLine, u"\"C:\\a\\b.exe\" typed");
}

TEST(BridgeHost, FixedStringPickAnswersTheTextAndStartsNothing) {
  Conversation talk;
  StandardItems(talk.platform);
  const json pick = {{"type", "pick"}, {"name", U8(Cp932ToUtf16("日付"))}, {"facts", {{"topUrl", "u"}}}};
  EXPECT_EQ(talk.Ask(pick.dump()), (json{{"type", "text"}, {"text", "2024/03/05 <TU>"}}));
  EXPECT_TRUE(talk.platform.launches.empty());
}

TEST(BridgeHost, RefusedCallerGetsErrorsOnly) {
  Conversation talk(false);
  StandardItems(talk.platform);
  for (const char* body : {R"({"type":"list"})", R"({"type":"pick","name":"Link"})", "garbage"}) {
    EXPECT_EQ(talk.Ask(body), (json{{"type", "error"}, {"message", host_texts::RefusedCaller()}})) << body;
  }
  talk.session.SendItemsIfChanged();
  talk.platform.settings = "changed";
  talk.session.SendItemsIfChanged();
  EXPECT_EQ(talk.answers.size(), 3u);
  EXPECT_TRUE(talk.platform.launches.empty());
  EXPECT_EQ(talk.platform.loads, 0);
}

TEST(BridgeHost, UnaskedListOnlyWhenItChanged) {
  Conversation talk;
  StandardItems(talk.platform);
  talk.session.SendItemsIfChanged();  // the list as it stands: nothing to tell
  EXPECT_TRUE(talk.answers.empty());
  talk.platform.items.pop_back();
  talk.session.SendItemsIfChanged();
  ASSERT_EQ(talk.answers.size(), 1u);
  EXPECT_EQ(talk.answers[0]["type"], "items");
  EXPECT_EQ(talk.answers[0]["items"].size(), 2u);
  talk.session.SendItemsIfChanged();  // nothing new
  EXPECT_EQ(talk.answers.size(), 1u);
  // A list the extension asked for counts as seen.
  talk.platform.settings = "other";
  talk.Ask(R"({"type":"list"})");
  talk.session.SendItemsIfChanged();
  EXPECT_EQ(talk.answers.size(), 2u);
}

TEST(BridgeHost, UnreadableSettingsFileIsNoList) {
  Conversation talk;
  StandardItems(talk.platform);
  talk.Ask(R"({"type":"list"})");
  talk.platform.readable = false;
  const json unreadable = {{"type", "error"}, {"message", host_texts::SettingsUnreadable()}};
  EXPECT_EQ(talk.Ask(R"({"type":"list"})"), unreadable);
  EXPECT_EQ(talk.Ask(R"({"type":"pick","name":"Link"})"), unreadable);
  talk.session.SendItemsIfChanged();  // no empty list pushed for a passing failure
  EXPECT_EQ(talk.answers.size(), 3u);
  EXPECT_TRUE(talk.platform.launches.empty());
  talk.platform.readable = true;
  talk.session.SendItemsIfChanged();  // the same list as before: nothing to tell
  EXPECT_EQ(talk.answers.size(), 3u);
}

// A reader over fixed bytes, handing them out at most chunk bytes at a time.
ReadSome Reader(const std::string& bytes, size_t chunk) {
  auto position = std::make_shared<size_t>(0);
  return [bytes, chunk, position](char* buffer, size_t size) {
    const size_t n = std::min({size, chunk, bytes.size() - *position});
    std::copy_n(bytes.data() + *position, n, buffer);
    *position += n;
    return n;
  };
}

// A length prefix alone.
std::string LengthOnly(uint32_t length) {
  std::string prefix(4, '\0');
  memcpy(prefix.data(), &length, 4);
  return prefix;
}

TEST(BridgeHost, FramesFromTheInput) {
  const std::string list = R"({"type":"list"})";
  const std::string tooLongBody(kMaxMessageBytes + 1, ' ');
  const struct {
    const char* what;
    std::string input;
    std::vector<std::string> answers;  // types, or the error messages
  } cases[] = {
      {"nothing", "", {}},
      {"two messages", EncodeFrame(list) + EncodeFrame(list), {"items", "items"}},
      {"a message of exactly 1 MiB",
       EncodeFrame(list + std::string(kMaxMessageBytes - list.size(), ' ')),
       {"items"}},
      {"too long, then the next one is found",
       LengthOnly(kMaxMessageBytes + 1) + tooLongBody + EncodeFrame(list),
       {host_texts::TooLong(), "items"}},
      {"too long and cut off", LengthOnly(0xFFFFFFFF) + "abc", {host_texts::TooLong()}},
      {"cut off in the length", EncodeFrame(list) + "\x05\x00", {"items", host_texts::Truncated()}},
      {"cut off in the body", EncodeFrame(list).substr(0, 10), {host_texts::Truncated()}},
      {"empty body", EncodeFrame(""), {host_texts::Malformed()}},
  };
  for (const size_t chunk : {size_t{1}, size_t{7}, size_t{1} << 20}) {
    for (const auto& c : cases) {
      Conversation talk;
      int firstAnswers = 0;
      size_t answersAtFirst = 0;
      ServeMessages(Reader(c.input, chunk), talk.session, [&] {
        ++firstAnswers;
        answersAtFirst = talk.answers.size();
      });
      std::vector<std::string> got;
      for (const json& answer : talk.answers) {
        got.push_back(answer["type"] == "error" ? answer["message"].get<std::string>()
                                                : answer["type"].get<std::string>());
      }
      EXPECT_EQ(got, c.answers) << c.what << ", read " << chunk << " at a time";
      EXPECT_EQ(firstAnswers, c.answers.empty() ? 0 : 1) << c.what;
      if (firstAnswers) {
        EXPECT_EQ(answersAtFirst, 1u) << c.what;
      }
    }
  }
}

TEST(BridgeHost, FrameEncodingAndUtf) {
  const std::string frame = EncodeFrame("{}");
  ASSERT_EQ(frame.size(), 6u);
  uint32_t length = 0;
  memcpy(&length, frame.data(), 4);
  EXPECT_EQ(length, 2u);  // in the machine's own byte order
  EXPECT_EQ(frame.substr(4), "{}");

  const struct {
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"", u""},
      {"a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80", u"a\u00E9日\U0001F600"},
      {"\xFF", u"\uFFFD"},
      {"\xC3", u"\uFFFD"},
      {"\xE6\x97", u"\uFFFD"},
      {"\xC0\xAF", u"\uFFFD\uFFFD"},
      {"\xED\xA0\x80x", u"\uFFFDx"},    // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD"},  // beyond U+10FFFF
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
  EXPECT_EQ(Utf16ToUtf8(u"a\u00E9日\U0001F600"), "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800') + u"x"), "\xEF\xBF\xBDx");
}

TEST(BridgeHost, OnlyTheOrbiskExtensionIsAnswered) {
  const std::string origin = std::string("chrome-extension://") + kChromiumExtensionId + "/";
  const struct {
    std::vector<std::string> arguments;
    bool allowed;
  } cases[] = {
      {{origin}, true},
      {{origin, "--parent-window=0"}, true},
      {{"C:\\hosts\\orbisk.host.firefox.json", kGeckoExtensionId}, true},
      {{}, false},
      {{"chrome-extension://" + std::string(32, 'a') + "/"}, false},
      {{"chrome-extension://" + std::string(kChromiumExtensionId) + "/x"}, false},
      {{"chrome-extension://" + std::string(kChromiumExtensionId)}, false},
      {{"C:\\m.json", "other@example"}, false},
      {{kGeckoExtensionId}, false},
      {{"/register"}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsOrbiskExtension(c.arguments), c.allowed) << (c.arguments.empty() ? "" : c.arguments[0]);
  }
}

TEST(BridgeHost, Manifests) {
  const std::string path = U8(u"C:\\Program Files\\Orbisk 表\\OrbiskHost.exe");
  const json chromium = json::parse(ChromiumManifest(path));
  const json firefox = json::parse(FirefoxManifest(path));
  for (const json* manifest : {&chromium, &firefox}) {
    EXPECT_EQ((*manifest)["name"], "orbisk.host");
    EXPECT_EQ((*manifest)["path"], path);
    EXPECT_EQ((*manifest)["type"], "stdio");
    EXPECT_FALSE((*manifest)["description"].get<std::string>().empty());
  }
  EXPECT_EQ(chromium["allowed_origins"],
            json::array({"chrome-extension://kfcinihmookjanjkhdbkaffejfgdpgcp/"}));
  EXPECT_FALSE(chromium.contains("allowed_extensions"));
  EXPECT_EQ(firefox["allowed_extensions"], json::array({"orbisk@orbisk.example"}));
  EXPECT_FALSE(firefox.contains("allowed_origins"));
  EXPECT_STREQ(kHostRegistryKeys[2].manifestName, kFirefoxManifestName);
}

// Orbisk's launchers read code page 932: a page character beyond it is "?"
// before the line leaves the host, never what the system's best fit makes
// of it (a backslash for the yen sign); a refused pick starts nothing.
TEST(BridgeHost, LaunchersGetOnlyWhatCodePage932Holds) {
  const std::u16string jotwell = u"C:\\Tools\\memo.exe";
  const struct {
    ProgramKind kind;
    std::string argments;
    std::string title;        // UTF-8
    std::u16string expected;  // after the program; "" when refused
  } cases[] = {
      {ProgramKind::Jotwell, "/s<TU> /oC:\\clips\\<TT2>.txt", FromU8(u8"..¥..¥Windows¥x‾"),
       u"/shttp://a/ /oC:\\clips\\..?..?Windows?x?.txt"},
      {ProgramKind::Clipsy, "<TT>", FromU8(u8"表 ¥100 한"), u"表 ?100 ?"},
      {ProgramKind::Program, "<TT>", FromU8(u8"表¥100"), u"表¥100"},
      {ProgramKind::Jotwell, "/s<TT> /oC:\\m.txt", FromU8(u8"a /eC:\\any\\program.exe"), u""},
  };
  for (const auto& c : cases) {
    Conversation talk;
    talk.platform.items = {Launcher("J", "C:\\Tools\\memo.exe", c.argments)};
    talk.platform.kinds[jotwell] = c.kind;
    const json pick = {
        {"type", "pick"}, {"name", "J"}, {"facts", {{"topUrl", "http://a/"}, {"topTitle", c.title}}}};
    const json answer = talk.Ask(pick.dump());
    if (c.expected.empty()) {
      EXPECT_EQ(answer,
                (json{{"type", "error"}, {"message", host_texts::Refused(LineRefusal::PageFormsOption)}}));
      EXPECT_TRUE(talk.platform.launches.empty());
      continue;
    }
    EXPECT_EQ(answer, (json{{"type", "started"}}));
    ASSERT_EQ(talk.platform.launches.size(), 1u);
    EXPECT_EQ(talk.platform.launches[0].commandLine, u"\"" + jotwell + u"\" " + c.expected) << c.argments;
  }
}

// A title of 200,000 tokens over a long address cannot make the host build
// gigabytes: the line is refused at once, and the next message is answered.
TEST(BridgeHost, HugePickIsRefusedAtOnce) {
  Conversation talk;
  talk.platform.items = {Launcher("T", "C:\\a.exe", "<TT> <TU>")};
  std::string title;
  for (int i = 0; i < 200000; ++i) title += "<TU>";
  const json pick = {{"type", "pick"},
                     {"name", "T"},
                     {"facts", {{"topUrl", std::string(100000, 'u')}, {"topTitle", title}}}};
  EXPECT_EQ(talk.Ask(pick.dump()),
            (json{{"type", "error"}, {"message", host_texts::Refused(LineRefusal::TooLong)}}));
  EXPECT_TRUE(talk.platform.launches.empty());
  EXPECT_EQ(talk.Ask("{\"type\":\"list\"}")["type"], "items");
}

// Page facts are untrusted: whatever they hold, the program, its folder, the
// window style, the confirmation and the box title are the item's, and each
// value reaches the program as the argument the template puts it in.
TEST(BridgeHost, FactsNeverChooseWhatStarts) {
  std::mt19937 random(99);
  const std::vector<std::u16string> pieces = {u"\"",         u"\" \"C:\\evil.exe\"",
                                              u"\\",         u" ",
                                              u"&",          u"<TU>",
                                              u"<AU>",       u"<IT>",
                                              u"%PATH%",     u"^",
                                              u"\r\n",       u"\uD55C",
                                              u"\U0001F600", u"\uFFFD",
                                              u"/",          u"--x"};
  ItemRecord item = Launcher("Item", "C:\\Apps\\app.exe", "<AU> \"<TT>\" <IT> <ST><\\T>");
  const std::u16string program = u"\"C:\\Apps\\app.exe\" ";
  for (int round = 0; round < 500; ++round) {
    PageFacts16 facts;
    for (std::u16string& value : facts.values) {
      const int count = std::uniform_int_distribution<int>(0, 5)(random);
      for (int i = 0; i < count; ++i)
        value += pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(random)];
    }
    item.WindowStyle = static_cast<int16_t>(round % 4);
    item.ConfCmdLine = static_cast<int16_t>(round % 5 == 0);
    const Clock clock = [] { return kMoment; };
    const LaunchSystem system = {Cp932ToUtf16,
                                 [](const std::u16string&) { return ProgramKind::Program; },
                                 AsCp932HoldsIt,
                                 {Cp932WithBestFit, IsCp932LeadByte},
                                 [] { return std::u16string(kTestSystemCmd); },
                                 [](const std::u16string&) { return std::u16string(); }};
    const LaunchPlan plan = PlanLaunch(item, facts, clock, system);
    EXPECT_EQ(plan.application, u"C:\\Apps\\app.exe");
    EXPECT_EQ(plan.folder, u"C:\\Apps\\");
    EXPECT_EQ(plan.showWindow, round % 4);
    EXPECT_EQ(plan.confirm, round % 5 == 0);
    EXPECT_EQ(plan.title, u"Item");
    std::u16string selection = facts[Fact::SelectionText];
    selection.erase(0, selection.find_first_not_of(u' '));
    selection.erase(selection.find_last_not_of(u' ') + 1);
    // A value that starts an argument with a slash or dash would be an option.
    bool option = false;
    for (const std::u16string& value :
         {facts[Fact::LinkUrl], facts[Fact::TopTitle], facts[Fact::InputText], selection}) {
      option |= !value.empty() && (value[0] == u'/' || value[0] == u'-');
    }
    if (option) {
      EXPECT_EQ(plan.refusal, LineRefusal::PageFormsOption);
      continue;
    }
    EXPECT_EQ(plan.refusal, LineRefusal::None);
    ASSERT_EQ(plan.commandLine.rfind(program, 0), 0u);
    std::vector<std::u16string> expected = {facts[Fact::LinkUrl], facts[Fact::TopTitle],
                                            facts[Fact::InputText], selection};
    // Empty values at the end, outside the template's quotes, move nothing
    // and are left out as the script leaves them out.
    while (expected.size() > 2 && expected.back().empty()) expected.pop_back();
    EXPECT_EQ(SplitArguments(std::u16string_view(plan.commandLine).substr(program.size())), expected)
        << U8(plan.commandLine);
  }
}

}  // namespace
