// OrbiskHost.exe under Wine, started on pipes as a browser starts it, beside
// a catalogue written and registered as Orbisk writes and registers it.
#include <windows.h>

#include <nlohmann/json.hpp>
#include <set>

#include "bridge/host/framing.h"
#include "bridge/host/host_texts.h"
#include "catalogue/item_record.h"
#include "catalogue/item_sort.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "catalogue/settings_format.h"
#include "catalogue/substitution.h"
#include "common/atomic_file.h"
#include "common/text_util.h"
#include "common/utf.h"
#include "tests/harness/browser_standin.h"
#include "tests/harness/build_output.h"
#include "tests/harness/clock_values.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/recorded_starts.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/bridge/host_fixture.h"

namespace {

using nlohmann::json;

const std::string kStartFailed = "プログラムの起動に失敗しました。";

std::wstring W(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

class BridgeHost : public HostFixture {};

TEST_F(BridgeHost, ListsWhatOrbiskLists) {
  WriteCatalogue({LauncherItem("b 項目", app_, "<TU> <AU> <IT>"), FixedStringRecord("A 日付", "<Y4>"),
                  LauncherItem("Gone", app_, "<TT>"), LauncherItem("c&d", app_, "<SS><TT2>", 3, true)},
                 {"Gone"});
  auto host = Connect();
  const auto answer = host->Ask({{"type", "list"}});
  ASSERT_TRUE(answer);
  ASSERT_EQ((*answer)["type"], "items") << answer->dump();
  EXPECT_EQ((*answer)["version"].get<std::string>().size(), 16u);
  // The order and the items of Orbisk's own loader.
  LoadItemsFrom(UserFolder + "Orbisk.ini");
  ASSERT_EQ(Items.size(), 3u);
  std::vector<std::string> names;
  for (const ItemRecord& item : Items) names.push_back(Utf8(item.ItemName));
  std::vector<std::string> listed;
  for (const json& item : (*answer)["items"]) listed.push_back(item["name"]);
  EXPECT_EQ(listed, names);
  const json expected = json::parse(R"([
    {"kind":"fixed","contexts":{"page":false,"image":false,"link":false,"selection":false},"needs":[]},
    {"kind":"launcher","contexts":{"page":true,"image":true,"link":false,"selection":true},
     "needs":["topUrl","linkUrl","inputText"]},
    {"kind":"launcher","contexts":{"page":true,"image":true,"link":false,"selection":true},
     "needs":["topTitle","selectionSource"]}])");
  for (size_t i = 0; i < expected.size() && i < (*answer)["items"].size(); ++i) {
    json item = (*answer)["items"][i];
    item.erase("name");
    EXPECT_EQ(item, expected[i]) << i;
  }
}

TEST_F(BridgeHost, PickStartsTheApplicationWithTheSubstitutedArguments) {
  const std::string argments = "\"<TU>\" <TT2> [<IT>] <AT> <ST>";
  // One application per style: a recorder is never copied over while the
  // one started before may still be running.
  const auto appOf = [this](int style) {
    return GetFolderPart(app_) + "viewer" + std::to_string(style) + ".exe";
  };
  std::vector<ItemRecord> items;
  for (int style = 0; style <= 3; ++style) {
    ASSERT_TRUE(InstallRecorder(appOf(style)));
    items.push_back(LauncherItem("Style " + std::to_string(style) + " & co", appOf(style), argments, style));
  }
  WriteCatalogue(items);
  // Page facts beyond code page 932 reach a Unicode program whole, each as
  // the argument the template puts it in.
  const json facts = {{"topUrl", "http://www.example.jp/a?b=\"1\"&c=2"},
                      {"topTitle", FromU8(u8"表題: 한국어 😀 a/b")},
                      {"inputText", FromU8(u8"入力")},
                      {"linkText", FromU8(u8"リンク <IT>")},
                      {"selectionText", "  selected\ttext  "},
                      {"imageUrl", "unused"}};
  auto host = Connect();
  for (int style = 0; style <= 3; ++style) {
    const auto answer = host->Ask(Pick("Style " + std::to_string(style) + " & co", facts));
    ASSERT_TRUE(answer);
    EXPECT_EQ(*answer, (json{{"type", "started"}}));
    const std::vector<RecordedStart> starts = WaitForRecordedStarts(appOf(style), 1);
    ASSERT_EQ(starts.size(), 1u) << style;
    const RecordedStart& recorded = starts[0];
    const std::vector<std::wstring> expected = {ToWide(appOf(style)),
                                                L"http://www.example.jp/a?b=\"1\"&c=2",
                                                W(Utf8ToUtf16(FromU8(u8"表題： 한국어 😀 a／b"))),
                                                ToWide("[入力]"),
                                                ToWide("リンク <IT>"),
                                                L"selected\ttext"};
    EXPECT_EQ(SplitAsWindowsDoes(recorded.wideCommandLine), expected) << style;
    // A program that reads the ANSI command line gets the system's conversion.
    EXPECT_EQ(recorded.commandLine, ToAnsi(recorded.wideCommandLine)) << style;
    EXPECT_EQ(recorded.workingDir, ProgramFolder() + "apps\\ビューア 表") << style;
    EXPECT_EQ(recorded.show, "1 " + std::to_string(style));
  }
  host->CloseInput();
  ASSERT_TRUE(host->WaitForExit(10000));
  EXPECT_EQ(host->ProcessesInJob(), 5u);  // the host and its four starts
}

TEST_F(BridgeHost, ConfirmationShowsTheCommandLineAndStartsNothing) {
  WriteCatalogue({LauncherItem("R&D Check", app_, "<AU> \"q\"", 2, true)});
  auto host = Connect();
  ExpectMessageBox(IDOK);
  const auto answer = host->Ask(Pick("R&D Check", {{"linkUrl", "http://www.example.jp/a.html"}}));
  ASSERT_TRUE(answer);
  EXPECT_EQ(*answer, (json{{"type", "confirmed"}}));
  const std::vector<SeenMessageBox> boxes = SeenMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "\"" + app_ + "\" http://www.example.jp/a.html \"q\"");
  EXPECT_EQ(boxes[0].title, "RD Check");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Information);
  EXPECT_EQ(boxes[0].buttons, std::vector<int>{IDOK});
  host->CloseInput();
  ASSERT_TRUE(host->WaitForExit(10000));
  EXPECT_EQ(host->ProcessesInJob(), 1u);
  EXPECT_TRUE(RecordedStarts(app_).empty());
}

TEST_F(BridgeHost, FailureToStartIsShownAndAnswered) {
  WriteCatalogue({LauncherItem("Missing & gone", ProgramFolder() + "apps\\missing.exe", "<TU>")});
  auto host = Connect();
  ExpectMessageBox(IDOK);
  const auto answer = host->Ask(Pick("Missing & gone"));
  ASSERT_TRUE(answer);
  EXPECT_EQ(*answer, (json{{"type", "error"}, {"message", host_texts::StartFailed()}}));
  const std::vector<SeenMessageBox> boxes = SeenMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, kStartFailed);
  EXPECT_EQ(boxes[0].title, "Missing  gone");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Stop);
}

TEST_F(BridgeHost, FixedStringPickAnswersTheText) {
  WriteCatalogue({FixedStringRecord("Today", "<Y4>/<M2>/<D2> (<WJ>)<\\T><TU> \"q\"")});
  auto host = Connect();
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  const auto answer = host->Ask(Pick("Today", {{"topUrl", "not used"}}));
  GetLocalTime(&after);
  ASSERT_TRUE(answer);
  ASSERT_EQ((*answer)["type"], "text") << answer->dump();
  std::set<std::string> allowed;
  for (const SYSTEMTIME& t : SecondsBetween(before, after)) {
    const LocalTime moment = {t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond};
    allowed.insert(Utf16ToUtf8(
        SubstituteFixedString(U16("<Y4>/<M2>/<D2> (<WJ>)<\\T><TU> \"q\""), [&] { return moment; })));
  }
  EXPECT_TRUE(allowed.count((*answer)["text"].get<std::string>())) << answer->dump();
  host->CloseInput();
  ASSERT_TRUE(host->WaitForExit(10000));
  EXPECT_EQ(host->ProcessesInJob(), 1u);
}

TEST_F(BridgeHost, ChangedListIsSentUnasked) {
  WriteCatalogue({LauncherItem("First", app_, "<TU>")});
  auto host = Connect();
  const auto first = host->Ask({{"type", "list"}});
  ASSERT_TRUE(first);
  ASSERT_EQ((*first)["items"].size(), 1u);
  for (const char* added : {"Second", "Third"}) {
    std::vector<ItemRecord> items = {LauncherItem("First", app_, "<TU>"), LauncherItem(added, app_, "<TT>")};
    const DWORD saved = GetTickCount();
    WriteCatalogue(items);
    const auto update = host->Receive(5000);
    const DWORD latency = GetTickCount() - saved;
    ASSERT_TRUE(update) << "no list after the change to " << added;
    EXPECT_EQ((*update)["type"], "items");
    ASSERT_EQ((*update)["items"].size(), 2u);
    EXPECT_EQ((*update)["items"][1]["name"], added);
    EXPECT_NE((*update)["version"], (*first)["version"]);
    EXPECT_LT(latency, 2000u) << "the list came " << latency << " ms after the save";
    std::printf("unasked list %lu ms after the save\n", static_cast<unsigned long>(latency));
  }
  // Asked again, the same list as the last one sent.
  const auto again = host->Ask({{"type", "list"}});
  ASSERT_TRUE(again);
  EXPECT_EQ((*again)["items"][1]["name"], "Third");
}

// Before Orbisk ever ran for this user there is no user folder to watch; the
// host watches the program folder's tree instead and still sees the first save.
TEST_F(BridgeHost, ListBeforeOrbiskEverSavedAndAfterItsFirstSave) {
  ASSERT_TRUE(DeleteTree(UserFolder));
  auto host = Connect();
  const auto empty = host->Ask({{"type", "list"}});
  ASSERT_TRUE(empty);
  EXPECT_EQ(*empty, (json{{"type", "items"}, {"version", (*empty)["version"]}, {"items", json::array()}}));
  ASSERT_TRUE(EnsureFolder(UserFolder));
  WriteCatalogue({LauncherItem("First", app_, "<TU>")});
  const auto update = host->Receive(5000);
  ASSERT_TRUE(update) << "no list after the first save";
  EXPECT_EQ((*update)["type"], "items");
  ASSERT_EQ((*update)["items"].size(), 1u);
  EXPECT_EQ((*update)["items"][0]["name"], "First");
}

TEST_F(BridgeHost, BadInputGetsAnErrorAndStartsNothing) {
  WriteCatalogue({LauncherItem("Item", app_, "<TU>")});
  const std::string list = EncodeFrame(R"({"type":"list"})");
  std::string tooLong(4, '\0');
  const uint32_t length = kMaxMessageBytes + 1;
  memcpy(tooLong.data(), &length, 4);
  const struct {
    const char* what;
    std::string input;
    std::vector<std::string> answers;  // error messages, or "items"
    bool endsInput;                    // the test closes the input after sending
  } cases[] = {
      {"unknown name",
       EncodeFrame(R"({"type":"pick","name":"Nothing"})"),
       {host_texts::UnknownItem()},
       false},
      {"unknown type", EncodeFrame(R"({"type":"run","name":"Item"})"), {host_texts::UnknownRequest()}, false},
      {"malformed JSON", EncodeFrame(R"({"type":"pick","name":"Item")"), {host_texts::Malformed()}, false},
      {"not JSON at all", EncodeFrame("\xFF\xFE garbage"), {host_texts::Malformed()}, false},
      {"facts of the wrong kind",
       EncodeFrame(R"({"type":"pick","name":"Item","facts":{"topUrl":7}})"),
       {host_texts::BadFacts()},
       false},
      {"too long, then a list",
       tooLong + std::string(kMaxMessageBytes + 1, ' ') + list,
       {host_texts::TooLong(), "items"},
       false},
      {"truncated message",
       EncodeFrame(R"({"type":"pick","name":"Item"})").substr(0, 12),
       {host_texts::Truncated()},
       true},
      {"truncated length", std::string("\x10\x00", 2), {host_texts::Truncated()}, true},
  };
  for (const auto& c : cases) {
    auto host = Connect();
    ASSERT_TRUE(host->SendRaw(c.input)) << c.what;
    if (c.endsInput) host->CloseInput();
    for (const std::string& expected : c.answers) {
      const auto answer = host->Receive();
      ASSERT_TRUE(answer) << c.what;
      const std::string got = (*answer)["type"] == "error" ? (*answer)["message"].get<std::string>()
                                                           : (*answer)["type"].get<std::string>();
      EXPECT_EQ(got, expected) << c.what;
    }
    host->CloseInput();
    DWORD exitCode = 99;
    ASSERT_TRUE(host->WaitForExit(10000, &exitCode)) << c.what;
    EXPECT_EQ(exitCode, 0u) << c.what;
    EXPECT_EQ(host->ProcessesInJob(), 1u) << c.what;
    EXPECT_FALSE(host->Receive(0)) << c.what << ": an answer too many";
  }
}

TEST_F(BridgeHost, OnlyTheOrbiskExtensionIsServed) {
  WriteCatalogue({LauncherItem("Item", app_, "<TU>")});
  const struct {
    std::string arguments;
    bool served;
  } cases[] = {
      {OrbiskOrigin() + " --parent-window=0", true},
      {"\"C:\\hosts\\orbisk.host.firefox.json\" orbisk@orbisk.example", true},
      {"chrome-extension://aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/", false},
      {"\"C:\\hosts\\orbisk.host.firefox.json\" other@example.org", false},
      {"", false},
  };
  std::size_t starts = 0;
  for (const auto& c : cases) {
    auto host = Connect(c.arguments);
    const auto list = host->Ask({{"type", "list"}});
    ASSERT_TRUE(list) << c.arguments;
    const auto pick = host->Ask(Pick("Item"));
    ASSERT_TRUE(pick) << c.arguments;
    if (c.served) {
      EXPECT_EQ((*list)["type"], "items") << c.arguments;
      EXPECT_EQ(*pick, (json{{"type", "started"}})) << c.arguments;
      // Counted on, not copied afresh: the recorder may still be running.
      ++starts;
      EXPECT_EQ(WaitForRecordedStarts(app_, starts).size(), starts);
    } else {
      const json refused = {{"type", "error"}, {"message", host_texts::RefusedCaller()}};
      EXPECT_EQ(*list, refused) << c.arguments;
      EXPECT_EQ(*pick, refused) << c.arguments;
      EXPECT_EQ(RecordedStarts(app_).size(), starts) << c.arguments;
    }
    host->CloseInput();
    ASSERT_TRUE(host->WaitForExit(10000)) << c.arguments;
    EXPECT_EQ(host->ProcessesInJob(), c.served ? 2u : 1u) << c.arguments;
  }
}

}  // namespace
