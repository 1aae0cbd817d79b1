// The host's input is untrusted: random frames and random, mutated messages
// through the whole reading and answering path, under the sanitizers. Every
// message gets one well-formed answer, and a program starts only for a pick
// of a launcher item, and then only the item's program.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>
#include <set>

#include "bridge/host/framing.h"
#include "bridge/host/host_session.h"
#include "bridge/host/request.h"
#include "tests/native/code_page.h"
#include "tests/native/japanese_system.h"

namespace {

using nlohmann::json;

class FuzzPlatform : public JapaneseSystemPlatform {
 public:
  FuzzPlatform() {
    ItemRecord launcher;
    launcher.ItemName = "L";
    launcher.AplPath = "C:\\a\\l.exe";
    launcher.Argments = "<TU> <AU> <IT> <ST> <SS> <TT2> <Y4>";
    launcher.WindowStyle = 2;
    ItemRecord fixed;
    fixed.ItemName = "F";
    fixed.FixedString = 1;
    fixed.Argments = "<Y4> <TU>";
    items = {fixed, launcher};
  }
  CatalogueSnapshot ReadCatalogue() override { return {items, "x"}; }
  // Every kind in turn, so that random facts go through every line builder.
  ProgramKind KindOfProgram(const std::u16string&) override {
    return static_cast<ProgramKind>(picks++ % (static_cast<int>(ProgramKind::Clipsy) + 1));
  }
  int picks = 0;
  LocalTime Now() override { return {2024, 1, 2, 3, 4, 5, 6}; }
  LaunchResult Launch(const LaunchPlan& plan) override {
    launches.push_back(plan);
    return LaunchResult::Started;
  }
  std::vector<ItemRecord> items;
  std::vector<LaunchPlan> launches;
};

const std::set<std::string> kAnswerTypes = {"items", "error", "started", "confirmed", "text"};

// Checks one answer body and returns its type.
std::string CheckedType(const std::string& body) {
  const json answer = json::parse(body, nullptr, false);
  EXPECT_TRUE(answer.is_object()) << body;
  if (!answer.is_object() || !answer.contains("type") || !answer["type"].is_string()) return "?";
  const std::string type = answer["type"];
  EXPECT_TRUE(kAnswerTypes.count(type)) << body;
  if (type == "error") {
    EXPECT_TRUE(answer["message"].is_string()) << body;
  }
  return type;
}

void CheckLaunches(const FuzzPlatform& platform) {
  for (const LaunchPlan& plan : platform.launches) {
    // A batch file starts through cmd.exe from the system folder.
    const bool throughCmd = plan.application == kTestSystemCmd;
    EXPECT_EQ(plan.application, throughCmd ? plan.application : u"C:\\a\\l.exe");
    EXPECT_EQ(plan.folder, u"C:\\a\\");
    EXPECT_EQ(plan.showWindow, 2);
    EXPECT_FALSE(plan.confirm);
    const std::u16string_view start =
        throughCmd ? u"cmd.exe /d /e:ON /v:OFF /c \"\"C:\\a\\l.exe\" " : u"\"C:\\a\\l.exe\" ";
    EXPECT_EQ(plan.commandLine.rfind(start, 0), 0u);
  }
}

// A message near the valid ones: random types, names, facts of any JSON
// type, sometimes with bytes flipped, cut or added afterwards.
std::string RandomMessage(std::mt19937& random) {
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const std::vector<json> values = {"",
                                    "L",
                                    "F",
                                    "l",
                                    "<TU>",
                                    "\"",
                                    "a\\b",
                                    "\xE6\x97\xA5",
                                    0,
                                    -1,
                                    1.5,
                                    true,
                                    nullptr,
                                    json::array(),
                                    json::object(),
                                    json::array({"L"}),
                                    json{{"k", "v"}}};
  const std::vector<std::string> keys = {"type",      "name",          "facts", "topUrl", "linkUrl",
                                         "inputText", "selectionText", "x",     ""};
  json message = json::object();
  if (below(8)) message["type"] = below(3) ? json(below(2) ? "pick" : "list") : values[below(values.size())];
  if (below(4)) message["name"] = below(3) ? json(below(2) ? "L" : "F") : values[below(values.size())];
  if (below(3)) {
    json facts = json::object();
    for (int i = below(5); i > 0; --i) facts[keys[below(keys.size())]] = values[below(values.size())];
    message["facts"] = below(8) ? facts : values[below(values.size())];
  }
  std::string text = message.dump();
  for (int i = below(4) == 0 ? below(4) : 0; i > 0; --i) {
    const size_t at = static_cast<size_t>(below(static_cast<int>(text.size()) + 1));
    switch (below(3)) {
      case 0:
        text.insert(at, 1, static_cast<char>(below(256)));
        break;
      case 1:
        if (at < text.size()) text.erase(at, 1);
        break;
      default:
        if (at < text.size()) text[at] = static_cast<char>(below(256));
        break;
    }
  }
  return text;
}

TEST(BridgeFuzz, RandomMessagesGetOneWellFormedAnswerEach) {
  std::mt19937 random(4242);
  FuzzPlatform platform;
  std::vector<std::string> answers;
  HostSession session(platform, true, [&](const std::string& body) { answers.push_back(body); });
  int started = 0;
  for (int round = 0; round < 2000; ++round) {
    const std::string message = RandomMessage(random);
    const size_t launchesBefore = platform.launches.size();
    session.Answer(message);
    ASSERT_EQ(answers.size(), static_cast<size_t>(round + 1)) << message;
    const std::string type = CheckedType(answers.back());
    // A start only for a well-formed pick of the launcher item.
    const ParsedRequest parsed = ParseRequest(message);
    const bool pickOfLauncher =
        parsed.request && parsed.request->type == RequestType::Pick && parsed.request->name == "L";
    // Some kinds of program refuse some facts (a quote for a batch file).
    EXPECT_EQ(platform.launches.size() - launchesBefore, type == "started" ? 1u : 0u) << message;
    if (!pickOfLauncher) {
      EXPECT_NE(type, "started") << message;
    }
    started += type == "started";
  }
  CheckLaunches(platform);
  EXPECT_GT(started, 50);  // the generator reaches the start often enough to matter
}

TEST(BridgeFuzz, RandomStreamsAreReadSafely) {
  std::mt19937 random(777);
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  for (int round = 0; round < 400; ++round) {
    // Frames with true, false, huge and short lengths, and stray bytes.
    std::string stream;
    for (int frames = below(6); frames > 0; --frames) {
      const std::string body =
          below(2) ? RandomMessage(random) : std::string(below(40), static_cast<char>(below(256)));
      std::string frame = EncodeFrame(body);
      if (below(6) == 0) {
        const uint32_t length =
            below(2) ? kMaxMessageBytes + 1 + below(1000) : static_cast<uint32_t>(below(1 << 16));
        memcpy(frame.data(), &length, 4);
      }
      if (below(8) == 0) frame.resize(static_cast<size_t>(below(static_cast<int>(frame.size()) + 1)));
      stream += frame;
    }
    FuzzPlatform platform;
    std::vector<std::string> answers;
    HostSession session(platform, true, [&](const std::string& body) { answers.push_back(body); });
    size_t position = 0;
    const size_t chunk = 1 + below(50);
    ServeMessages(
        [&](char* buffer, size_t size) {
          const size_t n = std::min({size, chunk, stream.size() - position});
          memcpy(buffer, stream.data() + position, n);
          position += n;
          return n;
        },
        session, nullptr);
    for (const std::string& answer : answers) CheckedType(answer);
    EXPECT_LE(platform.launches.size(), answers.size());
    CheckLaunches(platform);
  }
}

TEST(BridgeFuzz, ArbitraryBytesAsRequests) {
  // JSON's punctuation, the letters of the requests, a control character and
  // bytes that are no UTF-8.
  constexpr std::string_view kAlphabet = "{}[]\":,\\ ltypeickname0\x01\xC3\xFF";
  std::mt19937 random(31337);
  for (int round = 0; round < 20000; ++round) {
    std::string body(std::uniform_int_distribution<int>(0, 64)(random), '\0');
    for (char& c : body)
      c = kAlphabet[std::uniform_int_distribution<size_t>(0, kAlphabet.size() - 1)(random)];
    const ParsedRequest parsed = ParseRequest(body);
    EXPECT_NE(parsed.request.has_value(), !parsed.error.empty());
  }
}

}  // namespace
