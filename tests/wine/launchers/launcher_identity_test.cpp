// What the four programs share: windowless GUI programs with their version
// resources, and a program file given another name.
#include <windows.h>

#include <cctype>
#include <set>

#include "launchers/fetchbay/fetchbay_rules.h"
#include "launchers/jotwell/jotwell_options.h"
#include "launchers/pagewatch/pagewatch_rules.h"
#include "tests/harness/message_boxes.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"
#include "tests/wine/launchers/input_dialog_driver.h"
#include "tests/wine/launchers/launcher_run.h"

namespace {

// Each launcher's version as its product.h gives it to the program and to
// its version resource: a new version needs no change here.
struct ProductVersion {
  const char* text;
  WORD major, minor;
};
#define ORBISK_PRODUCT_VERSION \
  { LAUNCHER_VERSION_TEXT, LAUNCHER_VERSION_MAJOR, LAUNCHER_VERSION_MINOR }
#include "launchers/jotwell/product.h"
constexpr ProductVersion kJotwellVersion = ORBISK_PRODUCT_VERSION;
#include "tests/wine/launchers/forget_product.h"
#include "launchers/fetchbay/product.h"
constexpr ProductVersion kFetchbayVersion = ORBISK_PRODUCT_VERSION;
#include "tests/wine/launchers/forget_product.h"
#include "launchers/pagewatch/product.h"
constexpr ProductVersion kPagewatchVersion = ORBISK_PRODUCT_VERSION;
#include "tests/wine/launchers/forget_product.h"
#include "launchers/clipsy/product.h"
constexpr ProductVersion kClipsyVersion = ORBISK_PRODUCT_VERSION;
#include "tests/wine/launchers/forget_product.h"
#undef ORBISK_PRODUCT_VERSION

class Launchers : public WineTest {};

std::string VersionString(const std::string& data, const char* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::string query = std::string("\\StringFileInfo\\041104B0\\") + name;
  if (!VerQueryValueA(data.data(), query.c_str(), &value, &length) || length == 0) return "<missing>";
  return static_cast<const char*>(value);
}

// File offset of a relative virtual address in a PE image.
size_t OffsetOf(const IMAGE_NT_HEADERS64* nt, DWORD rva) {
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
    if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->Misc.VirtualSize) {
      return rva - section->VirtualAddress + section->PointerToRawData;
    }
  }
  return 0;
}

// Upper-cased names of the DLLs the image imports at start (not the delayed
// ones).
std::set<std::string> StartImports(const std::string& image) {
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(image.data() + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::set<std::string> names;
  if (directory.VirtualAddress == 0) return names;
  auto* entry =
      reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + OffsetOf(nt, directory.VirtualAddress));
  for (; entry->Name != 0; ++entry) {
    std::string name = image.c_str() + OffsetOf(nt, entry->Name);
    for (char& c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    names.insert(name);
  }
  return names;
}

}  // namespace

TEST_F(Launchers, VersionResourcesAndSubsystem) {
  struct Case {
    std::string product, version;
    WORD major, minor;
  } cases[] = {
      {"Jotwell", kJotwellVersion.text, kJotwellVersion.major, kJotwellVersion.minor},
      {"Fetchbay", kFetchbayVersion.text, kFetchbayVersion.major, kFetchbayVersion.minor},
      {"Pagewatch", kPagewatchVersion.text, kPagewatchVersion.major, kPagewatchVersion.minor},
      {"Clipsy", kClipsyVersion.text, kClipsyVersion.major, kClipsyVersion.minor},
  };
  for (const Case& c : cases) {
    // The text is the numbers: major, ".", the minor in two digits.
    char numbers[16];
    snprintf(numbers, sizeof numbers, "%u.%02u", static_cast<unsigned>(c.major),
             static_cast<unsigned>(c.minor));
    EXPECT_EQ(c.version, numbers) << c.product;

    const std::string path = BuiltProgram(c.product);
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
    ASSERT_GT(size, 0u) << c.product;
    std::string data(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));

    EXPECT_EQ(VersionString(data, "ProductName"), c.product);
    EXPECT_EQ(VersionString(data, "InternalName"), c.product);
    EXPECT_EQ(VersionString(data, "OriginalFilename"), c.product + ".exe");
    EXPECT_EQ(VersionString(data, "FileDescription"), "Orbisk Sample");
    EXPECT_EQ(VersionString(data, "ProductVersion"), c.version);

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(static_cast<WORD*>(value)[0], 0x0411);
    EXPECT_EQ(static_cast<WORD*>(value)[1], 0x04B0);

    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", &value, &length));
    const auto* fixed = static_cast<VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), c.major) << c.product;
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), c.minor) << c.product;

    // Windowless, and without a console window either.
    const std::string image = ReadFileBytes(path);
    ASSERT_GT(image.size(), sizeof(IMAGE_DOS_HEADER));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(image.data() + dos->e_lfanew);
    EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI) << c.product;

    // The window, shell and download DLLs load only when a run needs them:
    // at start they would cost more than a whole silent run.
    EXPECT_EQ(StartImports(image), (std::set<std::string>{"KERNEL32.DLL", "MSVCRT.DLL"})) << c.product;
  }
}

TEST_F(Launchers, RenamedProgramShowsItsNewNameAndUsesItsOwnSettingsFile) {
  const std::string folder = ProgramFolder();
  struct Case {
    std::string product, fileName, tail;
  } cases[] = {
      {"Jotwell", "Notes", kJotwellUsageTail},
      {"Fetchbay", "Getter", kFetchbayUsageTail},
      {"Pagewatch", "ページ監視", kPagewatchUsageTail},
  };
  for (const Case& c : cases) {
    const std::string program = CopyProgram(c.product, folder, c.fileName + ".exe");
    ASSERT_FALSE(program.empty());
    const size_t before = SeenMessageBoxes().size();
    ExpectMessageBox(IDOK);
    EXPECT_EQ(RunLauncher(program, ""), 0);
    const auto boxes = SeenMessageBoxes();
    ASSERT_EQ(boxes.size(), before + 1);
    EXPECT_EQ(boxes.back().title, c.product);  // the title keeps the product name
    EXPECT_EQ(boxes.back().text, ExpectedUsage(c.fileName, c.tail));
  }
  // Fetchbay's settings went to Getter.ini, under its product's section.
  EXPECT_EQ(IniValue(folder + "Getter.ini", "Fetchbay", "DownloadDir"), folder);
  EXPECT_FALSE(FileExists(folder + "Fetchbay.ini"));

  // Pagewatch under another name reads and writes its own file.
  const std::string watcher = folder + "ページ監視.exe";
  const std::string wwwc = folder + "w\\wwwc.exe";
  ASSERT_TRUE(InstallRecorder(wwwc));
  SetIniValue(folder + "ページ監視.ini", "Pagewatch", "WwwcPath", wwwc);
  ASSERT_EQ(RunLauncher(watcher, "http://example.com/ Page"), 0);
  EXPECT_EQ(IniValue(folder + "ページ監視.ini", "Pagewatch", "LastCreateShortcutPath"), folder + "Page.url");
  EXPECT_FALSE(FileExists(folder + "Pagewatch.ini"));
  EXPECT_EQ(RecordedStarts(wwwc).size(), 1u);

  // Clipsy's warning keeps its product name as title.
  const std::string clip = CopyProgram("Clipsy", folder, "Copier.exe");
  ExpectMessageBox(IDOK);
  EXPECT_EQ(RunLauncher(clip, ""), 0);
  EXPECT_EQ(SeenMessageBoxes().back().title, "Clipsy");
}
