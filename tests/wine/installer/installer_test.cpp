// The real installer, run under Wine in a prefix of its own (see
// fresh_prefix.sh): a silent install, Orbisk started from the installed
// folder adding an item through its Add dialog, the installed host listing
// it, a second install over it, and a silent uninstall that leaves the
// user's catalogue and nothing else; an item file imported by
// "/ITEMS=<file>" for the installing user, in each form of the option, and
// a file that is not taken, logged with exit code 2.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "bridge/host/manifests.h"
#include "catalogue/item_record.h"
#include "catalogue/launcher_script.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "common/utf.h"
#include "common/win_handles.h"
#include "editdialog/edit_dialog_resource.h"
#include "mainwindow/main_window.h"
#include "mainwindow/resource.h"
#include "tests/harness/build_output.h"
#include "tests/harness/child_process.h"
#include "tests/harness/host_connection.h"
#include "tests/harness/item_records.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/waiting.h"
#include "tests/harness/win_test_util.h"
#include "tests/harness/window_search.h"

namespace {

using nlohmann::json;

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orbisk";
const std::vector<std::string> kPrograms = {"Orbisk.exe",   "OrbiskHost.exe", "Jotwell.exe",
                                            "Fetchbay.exe", "Pagewatch.exe",  "Clipsy.exe"};

std::string KnownFolder(int csidl) {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return "";
  std::string folder = path;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

// A string value below HKEY_CURRENT_USER; nullopt when the key or the value
// is missing.
std::optional<std::string> RegString(const std::string& keyPath, const char* name) {
  UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  char value[2048] = {};
  DWORD size = sizeof value - 1, type = 0;
  if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  if (type == REG_DWORD) return std::to_string(*reinterpret_cast<DWORD*>(value));
  return std::string(value);
}

bool KeyExists(const std::string& keyPath) {
  UniqueRegKey key;
  return RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::vector<std::string> Names(const std::map<std::string, std::string>& files) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : files) names.push_back(Utf8(name));
  return names;
}

// The same files with the same bytes; a difference names the files only,
// not their whole contents.
void ExpectSameFiles(const std::map<std::string, std::string>& actual,
                     const std::map<std::string, std::string>& expected, const std::string& where) {
  EXPECT_EQ(Names(actual), Names(expected)) << where;
  for (const auto& [name, bytes] : expected) {
    const auto found = actual.find(name);
    if (found != actual.end()) {
      EXPECT_TRUE(found->second == bytes) << Utf8(where + name) << " differs";
    }
  }
}

// The target of a shell link, through the shell's own reader.
std::string ShortcutTarget(const std::string& link) {
  std::string target;
  Microsoft::WRL::ComPtr<IShellLinkA> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(shellLink.GetAddressOf())))) {
    return target;
  }
  Microsoft::WRL::ComPtr<IPersistFile> file;
  if (SUCCEEDED(shellLink.As(&file)) && SUCCEEDED(file->Load(ToWide(link).c_str(), STGM_READ))) {
    char path[MAX_PATH] = {};
    if (SUCCEEDED(shellLink->GetPath(path, sizeof path, nullptr, 0))) target = path;
  }
  return target;
}

// The waits below are for windows and files of the installer, the
// uninstaller and the installed Orbisk: other processes, which announce none
// of them to this one. The test's own windows (COM's among them) keep
// answering meanwhile.

// A window of the process with this class and title, waiting for it.
HWND WaitForWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs = 15000) {
  HWND found = nullptr;
  WaitUntilPumping([&] { return (found = FindProcessWindow(processId, className, title)) != nullptr; },
                   timeoutMs);
  return found;
}

// The NSIS wizard of a running installer or uninstaller: a dialog titled
// with the product, with a Next button (1), and no message box.
HWND FindWizard() {
  return FindTopLevelWindow([](HWND window) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    return IsVisibleDialog(window) && strstr(title, "Orbisk") && GetDlgItem(window, 1) &&
           !GetDlgItem(window, 0xFFFF);
  });
}

// A window's text, read from another process.
std::string WindowText(HWND window) {
  wchar_t text[256] = {};
  SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return ToAnsi(text);
}

// Presses the wizard's button 1 once it has this caption and is enabled:
// then the page it belongs to is shown and ready. False when that does not
// come.
bool PressWhenShown(HWND wizard, const std::string& caption) {
  HWND button = GetDlgItem(wizard, 1);
  if (!WaitUntilPumping([&] { return IsWindowEnabled(button) && WindowText(button) == caption; }, 30000)) {
    ADD_FAILURE() << "no button " << Utf8(caption) << ", but " << Utf8(WindowText(button));
    return false;
  }
  PostMessageA(wizard, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return true;
}

// The visible check box among the window's descendants, nullptr when none.
HWND FindCheckBox(HWND window) {
  HWND found = nullptr;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM result) {
        char className[16] = {};
        GetClassNameA(child, className, sizeof className);
        if (_stricmp(className, "Button") == 0 && IsWindowVisible(child) &&
            (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
          *reinterpret_cast<HWND*>(result) = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

bool SetDefaultValue(const std::string& keyPath, const std::string& value) {
  UniqueRegKey key;
  return RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                         nullptr) == ERROR_SUCCESS &&
         RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// An item's lines in a settings file's text, "Key=value" without the item's
// number, in file order; empty when no item has the name.
std::vector<std::string> SettingsEntry(const std::string& text, const std::string& name) {
  std::vector<std::pair<std::string, std::string>> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 2;
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) lines.emplace_back(line.substr(0, equals), line.substr(equals + 1));
  }
  std::string number;
  for (const auto& [key, value] : lines) {
    if (key.rfind("ItemName", 0) == 0 && value == name) number = key.substr(8);
  }
  std::vector<std::string> entry;
  if (number.empty()) return entry;
  for (const auto& [key, value] : lines) {
    const std::size_t base = key.size() - std::min(key.size(), number.size());
    if (EndsWith(key, number) && base > 0 && !isdigit(static_cast<unsigned char>(key[base - 1]))) {
      entry.push_back(key.substr(0, base) + "=" + value);
    }
  }
  return entry;
}

// An item file with one fixed-string item, as an administrator writes one:
// the settings file's format, Shift_JIS, CR LF.
std::string FixedStringItemFile(const std::string& name, const std::string& text) {
  return "[ItemList]\r\nItemCount=1\r\nItemName1=" + name + "\r\nFixedString1=1\r\nArgments1=" + text +
         "\r\nComment1=\r\n";
}

class Installer : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    installer_ = BuildOutputPath(ORBISK_INSTALLER);
    folder_ = KnownFolder(CSIDL_LOCAL_APPDATA) + "Programs\\Orbisk\\";
    userFolder_ = UserFolderFor(folder_, GetLoginName());
    shortcut_ = KnownFolder(CSIDL_PROGRAMS) + "Orbisk.lnk";
    ASSERT_FALSE(FileExists(folder_ + "Orbisk.exe")) << "the prefix is not fresh: " << folder_;
  }

  void TearDown() override {
    for (const std::string& folder : itemFolders_) DeleteTree(folder);
    DeleteTree(folder_);
    CoUninitialize();
    WineTest::TearDown();
  }

  // The bytes of what the installer put in: the programs, the uninstaller
  // and the extension.
  unsigned long long InstalledBytes() const {
    unsigned long long bytes = 0;
    for (const auto& [name, content] : FilesBelow(folder_)) {
      const bool program = name.find('\\') == std::string::npos && name.size() > 4 &&
                           name.compare(name.size() - 4, 4, ".exe") == 0;
      if (program || name.rfind("extension\\", 0) == 0) bytes += content.size();
    }
    return bytes;
  }

  void Install() {
    const DWORD boxes = static_cast<DWORD>(SeenMessageBoxes().size());
    EXPECT_EQ(RunProcess("\"" + installer_ + "\" /S", 60000), 0);
    EXPECT_EQ(SeenMessageBoxes().size(), boxes) << "a silent install showed a box";
  }

  void ExpectInstalled() {
    for (const std::string& program : kPrograms) {
      EXPECT_TRUE(FileExists(folder_ + program)) << program;
    }
    EXPECT_TRUE(FileExists(folder_ + "uninstall.exe"));
    // The shipped extension folder, file for file and byte for byte.
    const std::map<std::string, std::string> shipped =
        FilesBelow(BuildOutputPath(ORBISK_EXTENSION_DIR) + "\\");
    ASSERT_FALSE(shipped.empty());
    ExpectSameFiles(FilesBelow(folder_ + "extension\\"), shipped, folder_ + "extension\\");

    // The host registered itself for the three browsers.
    const std::u16string hostPath16 = [&] {
      const std::wstring wide = ToWide(folder_ + "OrbiskHost.exe");
      return std::u16string(wide.begin(), wide.end());
    }();
    for (const HostRegistryKey& key : kHostRegistryKeys) {
      EXPECT_EQ(RegString(key.path, nullptr), folder_ + key.manifestName) << key.path;
      const json manifest = json::parse(ReadFileBytes(folder_ + key.manifestName), nullptr, false);
      ASSERT_TRUE(manifest.is_object()) << key.manifestName;
      EXPECT_EQ(manifest["path"], Utf16ToUtf8(hostPath16));
    }

    std::string location = folder_;
    location.pop_back();
    EXPECT_EQ(RegString(kUninstallKey, "DisplayName"), "Orbisk");
    EXPECT_EQ(RegString(kUninstallKey, "DisplayVersion"), ORBISK_VERSION);
    EXPECT_EQ(RegString(kUninstallKey, "Publisher"), "Orbisk");
    EXPECT_EQ(RegString(kUninstallKey, "InstallLocation"), location);
    EXPECT_EQ(RegString(kUninstallKey, "UninstallString"), "\"" + folder_ + "uninstall.exe\"");
    EXPECT_EQ(RegString(kUninstallKey, "DisplayIcon"), folder_ + "Orbisk.exe,0");
    EXPECT_EQ(RegString(kUninstallKey, "NoModify"), "1");
    EXPECT_EQ(RegString(kUninstallKey, "NoRepair"), "1");
    // The size "Apps" shows: the programs, the uninstaller and the extension,
    // in KB, each file's rounding aside.
    const unsigned long long installedKb = InstalledBytes() / 1024;
    const unsigned long long estimatedKb =
        std::stoull(RegString(kUninstallKey, "EstimatedSize").value_or("0"));
    EXPECT_GE(estimatedKb + 16, installedKb);
    EXPECT_LE(estimatedKb, installedKb + 16);

    EXPECT_TRUE(FileExists(shortcut_)) << shortcut_;
    EXPECT_EQ(ShortcutTarget(shortcut_), folder_ + "Orbisk.exe");
  }

  // Starts the installed Orbisk, adds a launcher item through its Add dialog
  // and closes it, which saves the catalogue.
  void AddItemWithInstalledOrbisk(const std::string& name, const std::string& application) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    UniqueProcessInformation started;
    std::string command = "\"" + folder_ + "Orbisk.exe\"";
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                               &startup, started.put()));
    HWND window = WaitForWindow(started.processId(), kMainWindowClass, "Orbisk");
    ASSERT_TRUE(window);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_BTNADD, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_BTNADD)));
    HWND dialog = WaitForWindow(started.processId(), "#32770", "追加");
    ASSERT_TRUE(dialog);
    SendMessageW(GetDlgItem(dialog, IDC_TXTITEMNAME), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(ToWide(name).c_str()));
    SendMessageW(GetDlgItem(dialog, IDC_TXTAPLPATH), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(ToWide(application).c_str()));
    SendMessageW(GetDlgItem(dialog, IDC_TXTARGMENTS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"<ST>"));
    for (int i = 0; i < 4; ++i) {
      SendMessageA(GetDlgItem(dialog, IDC_CHKCONTEXTS0 + i), BM_SETCHECK,
                   i == 3 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    // "ＩＥの右クリックメニューに「…」を登録しますか？"
    ExpectMessageBox(IDYES);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    ASSERT_TRUE(WaitUntilPumping([&] { return !IsWindow(dialog); }, 15000)) << "the Add dialog stayed open";
    ASSERT_EQ(SeenMessageBoxes().size(), 1u);
    EXPECT_EQ(SeenMessageBoxes()[0].text, "ＩＥの右クリックメニューに「" + name + "」を登録しますか？");

    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(started.process(), 15000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(started.process(), &code);
    EXPECT_EQ(code, 0u);
  }

  // An item of the user's, as the installed Orbisk saves it: its script, its
  // menu entry and its settings file.
  void AddItemAsOrbiskSavesIt(const ItemRecord& item) {
    UserFolder = userFolder_;
    ASSERT_TRUE(EnsureFolder(UserFolder));
    ASSERT_TRUE(WriteLauncherScript(item.ItemName, item.AplPath, item.Argments, item.WindowStyle, false));
    ASSERT_TRUE(RegisterMenuEntry(item.ItemName, false, {false, false, false, true}));
    Items = {item};
    ASSERT_TRUE(SaveItems());
    ASSERT_TRUE(MoveFileExA(SettingsFilePath().c_str(), (userFolder_ + "Orbisk.ini").c_str(),
                            MOVEFILE_REPLACE_EXISTING));
    ASSERT_EQ(MenuEntry(item.ItemName)[""], userFolder_ + item.ItemName + ".html");
  }

  // Writes an item file, in a folder the test's end removes.
  void WriteItemFile(const std::string& folder, const std::string& name, const std::string& bytes) {
    itemFolders_.push_back(folder);
    ASSERT_TRUE(EnsureFolder(folder)) << Utf8(folder);
    ASSERT_TRUE(WriteFileBytes(folder + name, bytes)) << Utf8(folder + name);
  }

  // Runs the installer silently with options; its exit code. A silent
  // install shows no box, whatever happens.
  int InstallSilently(const std::string& options, const std::string& workingDir = std::string()) {
    const std::size_t boxes = SeenMessageBoxes().size();
    const int code = RunProcess("\"" + installer_ + "\" " + options, 60000, workingDir);
    EXPECT_EQ(SeenMessageBoxes().size(), boxes) << "a silent install showed a box: " << Utf8(options);
    return code;
  }

  // The lines of the last import's log, without their CR LF. Every line
  // ends in CR LF.
  std::vector<std::string> ItemsLogLines() {
    const std::string text = ReadFileBytes(folder_ + "setup-items.log");
    EXPECT_TRUE(EndsWith(text, "\r\n")) << Utf8(text);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
      std::size_t end = text.find("\r\n", start);
      if (end == std::string::npos) end = text.size();
      lines.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    return lines;
  }

  // The log's first line names the file, as the installer made it absolute.
  void ExpectLogNames(const std::vector<std::string>& lines, const std::string& file) {
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rfind("Orbisk " ORBISK_VERSION " のセットアップ (", 0), 0u) << Utf8(lines[0]);
    EXPECT_TRUE(EndsWith(lines[0], "): 項目ファイル " + file)) << Utf8(lines[0]);
  }

  // The entry's values as the registry holds them.
  std::map<std::string, std::optional<std::string>> MenuEntry(const std::string& name) {
    const std::string key = std::string(kMenuExtKey) + name;
    return {{"", RegString(key, nullptr)},
            {"Contexts", RegString(key, "Contexts")},
            {"Flags", RegString(key, "Flags")}};
  }

  std::string installer_, folder_, userFolder_, shortcut_;
  std::vector<std::string> itemFolders_;
};

TEST_F(Installer, InstallAddAnItemListItReinstallAndUninstallKeepingTheCatalogue) {
  Install();
  ExpectInstalled();
  if (HasFailure()) return;

  // Orbisk from the installed folder keeps its catalogue below that folder.
  const std::string name = "選択をコピー";
  AddItemWithInstalledOrbisk(name, folder_ + "Clipsy.exe");
  if (HasFailure()) return;
  const std::string settings = userFolder_ + "Orbisk.ini";
  const std::string script = userFolder_ + name + ".html";
  ASSERT_TRUE(FileExists(settings)) << Utf8(settings);
  ASSERT_TRUE(FileExists(script)) << Utf8(script);
  EXPECT_EQ(MenuEntry(name)[""], script);

  // The installed host lists it, as a browser would ask.
  {
    HostConnection host(folder_ + "OrbiskHost.exe", OrbiskOrigin());
    ASSERT_TRUE(host.Started()) << host.Failure();
    const std::optional<json> answer = host.Ask({{"type", "list"}});
    ASSERT_TRUE(answer);
    ASSERT_EQ((*answer)["type"], "items") << answer->dump();
    ASSERT_EQ((*answer)["items"].size(), 1u) << answer->dump();
    const json& item = (*answer)["items"][0];
    EXPECT_EQ(item["name"], Utf8(name));
    EXPECT_EQ(item["kind"], "launcher");
    EXPECT_EQ(item["contexts"],
              json({{"page", false}, {"image", false}, {"link", false}, {"selection", true}}));
  }

  // A second install over it: the programs and the extension are the new
  // ones, the user's catalogue, scripts and entries are as they were.
  const std::map<std::string, std::string> catalogue = FilesBelow(folder_ + "user\\");
  ASSERT_EQ(catalogue.size(), 2u);
  const auto entry = MenuEntry(name);
  ASSERT_TRUE(WriteFileBytes(folder_ + "Clipsy.exe", "damaged"));
  ASSERT_TRUE(WriteFileBytes(folder_ + "extension\\dropped-in-a-later-version.js", "old"));
  Install();
  ExpectInstalled();
  ExpectSameFiles(FilesBelow(folder_ + "user\\"), catalogue, folder_ + "user\\");
  EXPECT_EQ(MenuEntry(name), entry);

  // A silent uninstall keeps the user's items: their files and entries.
  std::string uninstall = "\"" + folder_ + "uninstall.exe\" /S";
  EXPECT_EQ(RunProcess(uninstall, 60000), 0);
  // It goes on from a copy of itself in TEMP: wait for it to be done.
  EXPECT_TRUE(WaitUntilPumping(
      [&] { return !FileExists(folder_ + "uninstall.exe") && !KeyExists(kUninstallKey); }, 30000));
  PumpMessages(500);
  std::map<std::string, std::string> left = FilesBelow(folder_);
  std::map<std::string, std::string> expected;
  for (const auto& [path, bytes] : catalogue) expected["user\\" + path] = bytes;
  ExpectSameFiles(left, expected, folder_);
  EXPECT_EQ(MenuEntry(name), entry);
  for (const HostRegistryKey& key : kHostRegistryKeys) EXPECT_FALSE(KeyExists(key.path)) << key.path;
  EXPECT_FALSE(KeyExists(kUninstallKey));
  EXPECT_FALSE(FileExists(shortcut_));
  EXPECT_TRUE(SeenMessageBoxes().size() == 1u) << "a silent uninstall showed a box";
}

// Asked, and told yes, the uninstaller takes the user's items along: their
// menu entries, scripts and settings, and the launchers' settings. Entries of
// other programs, and of an Orbisk copy in another folder, stay.
TEST_F(Installer, AnUninstallToldToRemovesTheUsersItemsAndNoOtherEntries) {
  Install();
  ExpectInstalled();
  if (HasFailure()) return;

  const ItemRecord item = LauncherRecord("メモに追記", folder_ + "Jotwell.exe", "<ST>", {0, 0, 0, 1});
  AddItemAsOrbiskSavesIt(item);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(WriteFileBytes(folder_ + "Fetchbay.ini", "[Fetchbay]\r\n"));
  const std::string menuExt = kMenuExtKey;
  std::string location = folder_;
  location.pop_back();
  const std::map<std::string, std::string> others = {
      {"Another program", "C:\\Program Files\\Other\\menu.html"},
      {"A portable Orbisk", "C:\\Tools\\Orbisk\\user\\someone\\A portable Orbisk.html"},
      {"A neighbouring folder", location + "2\\user\\someone\\x.html"}};
  for (const auto& [name, script] : others) ASSERT_TRUE(SetDefaultValue(menuExt + name, script));

  ExpectMessageBox(IDYES);
  ChildProcess uninstaller("\"" + folder_ + "uninstall.exe\"");
  ASSERT_TRUE(uninstaller.started());
  HWND wizard = nullptr;
  ASSERT_TRUE(WaitUntilPumping([&] { return (wizard = FindWizard()) != nullptr; }, 15000));
  // The confirmation page's "アンインストール" button.
  PostMessageA(wizard, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(wizard, 1)));
  ASSERT_TRUE(WaitForMessageBoxes(1, 30000));
  // Once the work is done its button closes the wizard.
  ASSERT_TRUE(
      WaitUntilPumping([&] { return !IsWindow(wizard) || IsWindowEnabled(GetDlgItem(wizard, 1)); }, 30000));
  if (IsWindow(wizard)) {
    PostMessageA(wizard, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(wizard, 1)));
  }
  EXPECT_EQ(uninstaller.Wait(60000), 0);

  const SeenMessageBox box = SeenMessageBoxes().at(0);
  EXPECT_EQ(box.title.rfind("Orbisk", 0), 0u) << Utf8(box.title);
  EXPECT_EQ(box.text.rfind("登録済みの項目も削除しますか？", 0), 0u) << Utf8(box.text);
  EXPECT_EQ(box.icon, BoxIcon::Question);
  EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(box.defaultButton, IDNO);

  EXPECT_TRUE(
      WaitUntilPumping([&] { return GetFileAttributesA(folder_.c_str()) == INVALID_FILE_ATTRIBUTES; }, 30000))
      << "left: " << ::testing::PrintToString(Names(FilesBelow(folder_)));
  EXPECT_FALSE(KeyExists(menuExt + item.ItemName));
  for (const auto& [name, script] : others) EXPECT_EQ(RegString(menuExt + name, nullptr), script) << name;
  for (const HostRegistryKey& key : kHostRegistryKeys) EXPECT_FALSE(KeyExists(key.path)) << key.path;
  EXPECT_FALSE(KeyExists(kUninstallKey));
  EXPECT_FALSE(FileExists(shortcut_));
}

// An administrator's item file, imported for the installing user: the new
// items are in the user's settings file, on the menu and with their scripts;
// the item the user has already under one of the names is kept byte for
// byte, and the log says it was skipped.
TEST_F(Installer, ItemsFromAFileAreAddedForTheUserAndAListedNameIsKept) {
  Install();
  if (HasFailure()) return;
  const ItemRecord own = LauncherRecord("メモに追記", folder_ + "Jotwell.exe", "<ST>", {0, 0, 0, 1});
  AddItemAsOrbiskSavesIt(own);
  if (HasFatalFailure()) return;
  const std::string settings = userFolder_ + "Orbisk.ini";
  const std::string ownScript = userFolder_ + own.ItemName + ".html";
  const std::string settingsBefore = ReadFileBytes(settings);
  const std::string ownScriptBefore = ReadFileBytes(ownScript);
  const auto ownEntry = MenuEntry(own.ItemName);
  ASSERT_FALSE(SettingsEntry(settingsBefore, own.ItemName).empty());

  const std::string clipsy = folder_ + "Clipsy.exe";
  const ItemRecord copy = LauncherRecord("選択をコピー", clipsy, "<ST>", {0, 0, 0, 1});
  ItemRecord signature = FixedStringRecord("署名", "よろしくお願いします。");
  signature.Comment = "挨拶";
  const std::string itemFile =
      "[ItemList]\r\nItemCount=3\r\n"
      "ItemName1=メモに追記\r\nFixedString1=0\r\nArgments1=<URL>\r\nComment1=\r\nAplPath1=" +
      clipsy +
      "\r\n"
      "Contexts1=1000\r\nWindowStyle1=1\r\nConfCmdLine1=0\r\n"
      "ItemName2=選択をコピー\r\nFixedString2=0\r\nArgments2=<ST>\r\nComment2=\r\nAplPath2=" +
      clipsy +
      "\r\n"
      "Contexts2=0001\r\nWindowStyle2=1\r\nConfCmdLine2=0\r\n"
      "ItemName3=署名\r\nFixedString3=1\r\nArgments3=よろしくお願いします。\r\nComment3=挨拶\r\n";
  WriteItemFile("C:\\Shared Items\\", "team.ini", itemFile);
  if (HasFatalFailure()) return;
  EXPECT_EQ(InstallSilently("/S /ITEMS=C:\\Shared Items\\team.ini"), 0);

  LoadItemsFrom(settings);
  ASSERT_EQ(Items.size(), 3u);
  for (const ItemRecord& expected : {own, copy, signature}) {
    const auto found = std::find_if(Items.begin(), Items.end(), [&](const ItemRecord& item) {
      return item.ItemName == expected.ItemName;
    });
    ASSERT_NE(found, Items.end()) << Utf8(expected.ItemName);
    EXPECT_TRUE(*found == expected) << Utf8(expected.ItemName);
  }
  for (const ItemRecord& added : {copy, signature}) {
    EXPECT_EQ(MenuEntry(added.ItemName)[""], userFolder_ + added.ItemName + ".html");
    EXPECT_TRUE(FileExists(userFolder_ + added.ItemName + ".html")) << Utf8(added.ItemName);
  }
  EXPECT_EQ(SettingsEntry(ReadFileBytes(settings), own.ItemName),
            SettingsEntry(settingsBefore, own.ItemName));
  EXPECT_TRUE(ReadFileBytes(ownScript) == ownScriptBefore);
  EXPECT_EQ(MenuEntry(own.ItemName), ownEntry);

  const std::vector<std::string> lines = ItemsLogLines();
  ExpectLogNames(lines, "C:\\Shared Items\\team.ini");
  ASSERT_EQ(lines.size(), 5u) << Utf8(ReadFileBytes(folder_ + "setup-items.log"));
  const std::vector<std::string> report(lines.begin() + 1, lines.end() - 1);
  for (const std::string line : {"追加: 選択をコピー", "追加: 署名", "スキップ（登録済み）: メモに追記"}) {
    EXPECT_NE(std::find(report.begin(), report.end(), line), report.end()) << Utf8(line);
  }
  EXPECT_EQ(lines.back().rfind("インポート: ", 0), 0u) << Utf8(lines.back());
}

// /ITEMS= as administrators write it: a path with blanks before /D=, the
// whole option quoted, the value quoted (an apostrophe in it), forward
// slashes, lower case, and a relative path, taken from the folder the
// installer was started in.
TEST_F(Installer, TheItemsOptionIsReadInEachForm) {
  Install();
  if (HasFailure()) return;
  std::string location = folder_;
  location.pop_back();
  struct Case {
    std::string options, workingDir, folder, file;
  };
  const std::vector<Case> cases = {
      {"/S /ITEMS=C:\\Shared Items\\team.ini /D=" + location, "", "C:\\Shared Items\\", "team.ini"},
      {"/S \"/ITEMS=C:\\a b\\team.ini\"", "", "C:\\a b\\", "team.ini"},
      {"/ITEMS=\"C:\\a b\\Bob's items.ini\" /S", "", "C:\\a b\\", "Bob's items.ini"},
      {"/S /ITEMS=C:/a b/team 2.ini", "", "C:\\a b\\", "team 2.ini"},
      {"/S /items=Items\\team.ini", "C:\\Deploy Here", "C:\\Deploy Here\\Items\\", "team.ini"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    const std::string name = "定型文" + std::to_string(++n);
    WriteItemFile(c.folder, c.file, FixedStringItemFile(name, "テキスト"));
    if (HasFatalFailure()) return;
    if (!c.workingDir.empty()) itemFolders_.push_back(c.workingDir + "\\");
    EXPECT_EQ(InstallSilently(c.options, c.workingDir), 0);
    const std::vector<std::string> lines = ItemsLogLines();
    ExpectLogNames(lines, c.folder + c.file);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "追加: " + name), lines.end())
        << Utf8(ReadFileBytes(folder_ + "setup-items.log"));
    EXPECT_EQ(MenuEntry(name)[""], userFolder_ + name + ".html");
  }
}

// A file that is not taken changes nothing of the user's: the programs are
// installed, the log says why, and the exit code is 2. A path ending in a
// backslash reaches Orbisk.exe as it is, not with /quiet taken into it.
TEST_F(Installer, AFileThatIsNotTakenIsLoggedWithExitCodeTwo) {
  Install();
  if (HasFailure()) return;
  AddItemAsOrbiskSavesIt(LauncherRecord("メモに追記", folder_ + "Jotwell.exe", "<ST>", {0, 0, 0, 1}));
  if (HasFatalFailure()) return;
  WriteItemFile("C:\\Shared Items\\", "notes.ini", "買い物: 牛乳\r\n");
  if (HasFatalFailure()) return;
  const std::map<std::string, std::string> catalogue = FilesBelow(folder_ + "user\\");
  const std::set<std::string> entries = MenuExtSubkeys();
  const auto entry = MenuEntry("メモに追記");
  struct Case {
    std::string options, file, reason, last;
  };
  const std::string notRead = "インポートできません: ファイルを読み込めませんでした。";
  const std::string exitCodeOne = "項目を取り込めませんでした (Orbisk.exe の終了コード 1)。";
  const std::vector<Case> cases = {
      {"/S /ITEMS=C:\\Shared Items\\missing.ini", "C:\\Shared Items\\missing.ini", notRead, exitCodeOne},
      {"/S /ITEMS=C:\\Shared Items\\", "C:\\Shared Items\\", notRead, exitCodeOne},
      {"/S /ITEMS=C:\\Shared Items\\notes.ini", "C:\\Shared Items\\notes.ini",
       "インポートできません: ", exitCodeOne},
      {"/S /ITEMS=", "", "インポートできません: /ITEMS= にファイルが指定されていません。",
       "インポートできません: /ITEMS= にファイルが指定されていません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    EXPECT_EQ(InstallSilently(c.options), 2);
    ExpectInstalled();
    const std::vector<std::string> lines = ItemsLogLines();
    ExpectLogNames(lines, c.file);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(std::any_of(lines.begin() + 1, lines.end(), [&](const std::string& line) {
      return line.rfind(c.reason, 0) == 0;
    })) << Utf8(ReadFileBytes(folder_ + "setup-items.log"));
    EXPECT_EQ(lines.back(), c.last);
    ExpectSameFiles(FilesBelow(folder_ + "user\\"), catalogue, folder_ + "user\\");
    EXPECT_EQ(MenuExtSubkeys(), entries);
    EXPECT_EQ(MenuEntry("メモに追記"), entry);
  }
}

// With its window, the installer tells in a box as well that the file was
// not taken; it still finishes, with exit code 2.
TEST_F(Installer, AnInstallWithItsWindowTellsInABoxThatTheFileWasNotTaken) {
  ExpectMessageBox(IDOK);
  ChildProcess installer("\"" + installer_ + "\" /ITEMS=C:\\Shared Items\\missing.ini");
  ASSERT_TRUE(installer.started());
  HWND wizard = nullptr;
  ASSERT_TRUE(WaitUntilPumping([&] { return (wizard = FindWizard()) != nullptr; }, 15000));
  ASSERT_TRUE(PressWhenShown(wizard, "次へ(&N) >"));
  ASSERT_TRUE(PressWhenShown(wizard, "インストール(&I)"));
  ASSERT_TRUE(WaitForMessageBoxes(1, 30000));
  // The last page, once the files are in: Finish, without starting Orbisk.
  HWND run = nullptr;
  ASSERT_TRUE(WaitUntilPumping([&] { return (run = FindCheckBox(wizard)) != nullptr; }, 30000));
  SendMessageA(run, BM_SETCHECK, BST_UNCHECKED, 0);
  ASSERT_TRUE(PressWhenShown(wizard, "完了(&F)"));
  EXPECT_EQ(installer.Wait(60000), 2);

  const SeenMessageBox box = SeenMessageBoxes().at(0);
  EXPECT_EQ(box.text,
            "項目ファイルを取り込めませんでした。\r\nC:\\Shared Items\\missing.ini\r\n\r\n"
            "インポートできません: ファイルを読み込めませんでした。\r\n\r\n記録: " +
                folder_ + "setup-items.log");
  EXPECT_EQ(box.icon, BoxIcon::Warning);
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  ExpectInstalled();
  EXPECT_EQ(ItemsLogLines().back(), "項目を取り込めませんでした (Orbisk.exe の終了コード 1)。");
}

}  // namespace
