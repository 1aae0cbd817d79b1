#include "tests/wine/bridge/host_fixture.h"

#include <array>

#include "bridge/host/windows_arguments.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_format.h"
#include "common/atomic_file.h"
#include "tests/harness/build_output.h"
#include "tests/harness/recorded_starts.h"
#include "tests/harness/win_test_util.h"

ItemRecord LauncherItem(const std::string& name, const std::string& path, const std::string& argments,
                        int style, bool confirm) {
  ItemRecord r = LauncherRecord(name, path, argments, {1, 1, 0, 1}, static_cast<int16_t>(style));
  r.ConfCmdLine = confirm;
  return r;
}

std::u16string U16(const std::string& ansi) {
  const std::wstring wide = ToWide(ansi);
  return std::u16string(wide.begin(), wide.end());
}

void ExpectEveryWideReadingGives(std::u16string_view arguments, const std::vector<std::u16string>& expected,
                                 const std::string& what) {
  EXPECT_EQ(SplitArguments(arguments), expected) << what;
  for (const QuoteRuns rule : {QuoteRuns::Old, QuoteRuns::New}) {
    EXPECT_EQ(SplitCrtArguments(arguments, rule), expected) << what;
  }
}

void HostFixture::SetUp() {
  WineTest::SetUp();
  host_ = ProgramFolder() + "OrbiskHost.exe";
  ASSERT_TRUE(CopyFileA(BuildOutputPath(ORBISK_HOST_EXE).c_str(), host_.c_str(), FALSE));
  app_ = ProgramFolder() + "apps\\ビューア 表\\viewer.exe";
  ASSERT_TRUE(InstallRecorder(app_));
}

void HostFixture::WriteCatalogue(const std::vector<ItemRecord>& items,
                                 const std::set<std::string>& unregistered) {
  for (const ItemRecord& item : items) {
    if (unregistered.count(item.ItemName)) continue;
    std::array<bool, 4> contexts;
    for (int i = 0; i < 4; ++i) contexts[i] = item.Contexts[i] == 1;
    ASSERT_TRUE(RegisterMenuEntry(item.ItemName, item.FixedString == 1, contexts));
  }
  const std::string text = ReplaceIniSection("", kItemListSection, CatalogueEntries(items));
  ASSERT_TRUE(WriteFileAtomically(UserFolder + "Orbisk.ini", text));
}

std::unique_ptr<HostConnection> HostFixture::Connect(const std::string& arguments, DWORD jobLimits) {
  auto connection = std::make_unique<HostConnection>(host_, arguments, jobLimits);
  EXPECT_TRUE(connection->Started()) << connection->Failure();
  return connection;
}

nlohmann::json HostFixture::PickOnce(const ItemRecord& item, const nlohmann::json& facts) {
  WriteCatalogue({item});
  auto host = Connect();
  const auto answer = host->Ask(Pick(item.ItemName, facts));
  host->CloseInput();
  EXPECT_TRUE(host->WaitForExit(10000));
  return answer ? *answer : nlohmann::json();
}

std::vector<std::wstring> HostFixture::ArgumentsOfTheStart(const std::string& path) {
  const std::vector<RecordedStart> starts = WaitForRecordedStarts(path, 1);
  if (starts.size() != 1) return {L"<started " + std::to_wstring(starts.size()) + L" times>"};
  std::vector<std::wstring> arguments = SplitAsWindowsDoes(starts[0].wideCommandLine);
  if (!arguments.empty()) arguments.erase(arguments.begin());
  return arguments;
}

nlohmann::json HostFixture::Pick(const std::string& name, const nlohmann::json& facts) {
  return nlohmann::json{{"type", "pick"}, {"name", Utf8(name)}, {"facts", facts}};
}
