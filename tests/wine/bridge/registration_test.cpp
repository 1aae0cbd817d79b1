// "OrbiskHost.exe /register" and "/unregister" under Wine, read back from
// the registry and the manifest files.
#include <windows.h>

#include <nlohmann/json.hpp>

#include "bridge/host/host_texts.h"
#include "bridge/host/manifests.h"
#include "common/utf.h"
#include "common/win_handles.h"
#include "tests/harness/build_output.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"

namespace {

using nlohmann::json;

// The message box texts in code page 932, as the box watcher reads them.
std::string Ansi(const std::string& utf8) {
  const std::u16string wide = Utf8ToUtf16(utf8);
  return ToAnsi(std::wstring(wide.begin(), wide.end()));
}

// The default value of a key below HKEY_CURRENT_USER; nullopt when the key
// is not there.
std::optional<std::string> DefaultValue(const std::string& keyPath) {
  UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  char value[1024] = {};
  DWORD size = sizeof value - 1, type = 0;
  if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::string();
  }
  return std::string(value);
}

bool KeyExists(const std::string& keyPath) {
  UniqueRegKey key;
  return RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

constexpr char kNeighbourKey[] = "Software\\Google\\Chrome\\NativeMessagingHosts\\other.host";

class HostRegistration : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    // A folder with a blank and a double-byte character in it.
    folder_ = ProgramFolder() + "Orbisk 表\\";
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    host_ = folder_ + "OrbiskHost.exe";
    ASSERT_TRUE(CopyFileA(BuildOutputPath(ORBISK_HOST_EXE).c_str(), host_.c_str(), FALSE));
    // Another host's key and a file of another program beside the host.
    UniqueRegKey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kNeighbourKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_TRUE(WriteFileBytes(folder_ + "other.host.json", "{}"));
  }

  void TearDown() override {
    for (const HostRegistryKey& key : kHostRegistryKeys) RegDeleteKeyA(HKEY_CURRENT_USER, key.path);
    RegDeleteKeyA(HKEY_CURRENT_USER, kNeighbourKey);
    WineTest::TearDown();
  }

  // Runs the host with the switch; its exit code, and the box it showed.
  int Run(const std::string& option, SeenMessageBox* box) {
    const size_t before = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    const int exitCode = RunProcess("\"" + host_ + "\" " + option, 30000);
    const std::vector<SeenMessageBox> boxes = SeenMessageBoxes();
    EXPECT_EQ(boxes.size(), before + 1) << option;
    if (boxes.size() > before) *box = boxes[before];
    return exitCode;
  }

  void ExpectRegistered() {
    for (const HostRegistryKey& key : kHostRegistryKeys) {
      EXPECT_EQ(DefaultValue(key.path), folder_ + key.manifestName) << key.path;
    }
    const std::u16string hostPath16 = [&] {
      const std::wstring wide = ToWide(host_);
      return std::u16string(wide.begin(), wide.end());
    }();
    const json chromium = json::parse(ReadFileBytes(folder_ + kChromiumManifestName), nullptr, false);
    const json firefox = json::parse(ReadFileBytes(folder_ + kFirefoxManifestName), nullptr, false);
    for (const json* manifest : {&chromium, &firefox}) {
      ASSERT_TRUE(manifest->is_object());
      EXPECT_EQ((*manifest)["name"], "orbisk.host");
      EXPECT_EQ((*manifest)["path"], Utf16ToUtf8(hostPath16));
      EXPECT_EQ((*manifest)["type"], "stdio");
    }
    EXPECT_EQ(chromium["allowed_origins"],
              json::array({"chrome-extension://kfcinihmookjanjkhdbkaffejfgdpgcp/"}));
    EXPECT_EQ(firefox["allowed_extensions"], json::array({"orbisk@orbisk.example"}));
  }

  void ExpectUntouchedNeighbours() {
    EXPECT_TRUE(KeyExists(kNeighbourKey));
    EXPECT_TRUE(KeyExists("Software\\Mozilla\\NativeMessagingHosts"));
    EXPECT_TRUE(KeyExists("Software\\Microsoft\\Edge\\NativeMessagingHosts"));
    EXPECT_EQ(ReadFileBytes(folder_ + "other.host.json"), "{}");
    EXPECT_TRUE(FileExists(host_));
  }

  std::string folder_, host_;
};

TEST_F(HostRegistration, RegisterAndUnregisterTwiceEach) {
  for (int round = 0; round < 2; ++round) {
    SeenMessageBox box;
    EXPECT_EQ(Run("/register", &box), 0) << round;
    EXPECT_EQ(box.title, "Orbisk");
    EXPECT_EQ(box.text, Ansi(host_texts::Registered()));
    EXPECT_EQ(box.icon, BoxIcon::Information);
    ExpectRegistered();
    ExpectUntouchedNeighbours();
  }
  for (int round = 0; round < 2; ++round) {
    SeenMessageBox box;
    EXPECT_EQ(Run("/UNREGISTER", &box), 0) << round;
    EXPECT_EQ(box.title, "Orbisk");
    EXPECT_EQ(box.text, Ansi(host_texts::Unregistered()));
    EXPECT_EQ(box.icon, BoxIcon::Information);
    for (const HostRegistryKey& key : kHostRegistryKeys) EXPECT_FALSE(KeyExists(key.path)) << key.path;
    EXPECT_FALSE(FileExists(folder_ + kChromiumManifestName));
    EXPECT_FALSE(FileExists(folder_ + kFirefoxManifestName));
    ExpectUntouchedNeighbours();
  }
}

TEST_F(HostRegistration, FailuresAreReported) {
  // A folder where a manifest should be written: registering fails.
  ASSERT_TRUE(CreateDirectoryA((folder_ + kFirefoxManifestName).c_str(), nullptr));
  SeenMessageBox box;
  EXPECT_EQ(Run("/register", &box), 1);
  EXPECT_EQ(box.title, "Orbisk");
  EXPECT_EQ(box.text, Ansi(host_texts::RegisterFailed()));
  EXPECT_EQ(box.icon, BoxIcon::Stop);
  // Nor can that folder be removed as a manifest file.
  EXPECT_EQ(Run("/unregister", &box), 1);
  EXPECT_EQ(box.text, Ansi(host_texts::UnregisterFailed()));
  EXPECT_EQ(box.icon, BoxIcon::Stop);
  EXPECT_TRUE(GetFileAttributesA((folder_ + kFirefoxManifestName).c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  ExpectUntouchedNeighbours();
}

// What an installer runs: the same work, told by the exit code alone. The
// harness's watcher fails the test on any box it was not told to expect.
TEST_F(HostRegistration, QuietSwitchShowsNoBoxAndTellsByTheExitCode) {
  for (const char* register_ : {"/register /quiet", "/Register /QUIET"}) {
    EXPECT_EQ(RunProcess("\"" + host_ + "\" " + register_, 30000), 0) << register_;
    ExpectRegistered();
    ExpectUntouchedNeighbours();
  }
  EXPECT_EQ(RunProcess("\"" + host_ + "\" /unregister /quiet", 30000), 0);
  for (const HostRegistryKey& key : kHostRegistryKeys) EXPECT_FALSE(KeyExists(key.path)) << key.path;
  EXPECT_FALSE(FileExists(folder_ + kChromiumManifestName));
  EXPECT_FALSE(FileExists(folder_ + kFirefoxManifestName));
  ExpectUntouchedNeighbours();

  ASSERT_TRUE(CreateDirectoryA((folder_ + kFirefoxManifestName).c_str(), nullptr));
  EXPECT_EQ(RunProcess("\"" + host_ + "\" /register /quiet", 30000), 1);
  EXPECT_EQ(RunProcess("\"" + host_ + "\" /unregister /quiet", 30000), 1);
  EXPECT_TRUE(SeenMessageBoxes().empty());
}

}  // namespace
