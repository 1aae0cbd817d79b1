// Menu registration against the real registry under Wine.
#include <windows.h>

#include "catalogue/item_record.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/registry.h"
#include "catalogue/validation.h"
#include "common/win_handles.h"
#include "tests/harness/item_records.h"
#include "tests/harness/test_folder.h"
#include "tests/harness/win_test_util.h"

namespace {

class Registration : public WineTest {};

uint32_t Dword(const std::string& name, const char* value) {
  RegistryValue missing;
  missing.number = 0xDEADBEEF;
  return ReadRegistryValue(RegHive::CurrentUser, MenuEntryKey(name), value, kRegDword, missing).number;
}

DWORD RawType(const std::string& name, const char* value, std::string* bytes) {
  UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, MenuEntryKey(name).c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    return 0;
  }
  DWORD type = 0, size = 1024;
  bytes->assign(size, '\0');
  RegQueryValueExA(key.get(), value, nullptr, &type, reinterpret_cast<BYTE*>(bytes->data()), &size);
  bytes->resize(size);
  return type;
}

}  // namespace

TEST_F(Registration, LayoutOfOneEntry) {
  struct Case {
    std::string name;
    bool fixedString;
    std::array<bool, 4> contexts;
    uint32_t mask;
  } cases[] = {
      {"All four", false, {true, true, true, true}, 0x33},
      {"Selection only", false, {false, false, false, true}, 0x10},
      {"Fixed & text", true, {true, false, true, false}, 0x04},
      {"  表示  ", false, {false, true, false, false}, 0x02},  // blanks trimmed
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(RegisterMenuEntry(c.name, c.fixedString, c.contexts)) << c.name;
    const std::string trimmed = c.name.substr(
        c.name.find_first_not_of(' '), c.name.find_last_not_of(' ') - c.name.find_first_not_of(' ') + 1);
    EXPECT_TRUE(MenuExtSubkeys().count(trimmed)) << c.name;
    std::string bytes;
    EXPECT_EQ(RawType(trimmed, "", &bytes), static_cast<DWORD>(REG_SZ));
    const std::string script = UserFolder + trimmed + ".html";
    EXPECT_EQ(bytes, script + '\0') << "REG_SZ size is the byte length plus one";
    EXPECT_EQ(RawType(trimmed, "Contexts", &bytes), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(Dword(trimmed, "Contexts"), c.mask);
    EXPECT_EQ(Dword(trimmed, "Flags"), 0u);
    EXPECT_TRUE(IsMenuEntryRegistered(trimmed));
  }
}

TEST_F(Registration, ReRegisteringOverwritesInPlace) {
  ASSERT_TRUE(RegisterMenuEntry("Item", false, {true, false, false, false}));
  ASSERT_TRUE(RegisterMenuEntry("Item", true, {true, false, false, false}));
  EXPECT_EQ(Dword("Item", "Contexts"), 0x04u);
  EXPECT_EQ(Dword("Item", "Flags"), 0u);
}

TEST_F(Registration, EmptyDefaultValueCountsAsNotRegistered) {
  EXPECT_FALSE(IsMenuEntryRegistered("Nothing here"));
  RegistryValue empty;
  ASSERT_TRUE(WriteRegistryValue(RegHive::CurrentUser, MenuEntryKey("Empty"), "", kRegSz, empty));
  EXPECT_FALSE(IsMenuEntryRegistered("Empty"));
  RegistryValue path;
  path.text = "x";
  ASSERT_TRUE(WriteRegistryValue(RegHive::CurrentUser, MenuEntryKey("Empty"), "", kRegSz, path));
  EXPECT_TRUE(IsMenuEntryRegistered("Empty"));
}

// The name may be as long as the script path allows, which leaves the whole
// key path below MenuExt longer than the ANSI registry functions take at once.
TEST_F(Registration, LongestNameTheValidationAcceptsIsRegisteredFoundAndDeleted) {
  UserFolder = "C:\\o\\";  // a short folder leaves the most room for the name
  ValidationInput input;
  input.change = ItemChange::Add;
  input.pathField = "C:\\a.exe";
  input.contexts = {true, false, false, false};
  input.scriptFolder = UserFolder;
  const auto accepted = [&input](const std::string& name) {
    input.nameField = name;
    return ValidateItem(input, [](const std::string&) { return PathKind::File; }).passed;
  };
  size_t longest = 0;
  while (accepted(std::string(longest + 1, 'a'))) ++longest;
  ASSERT_GT(std::string(kMenuExtKey).size() + longest, 260u);

  std::string doubleByte;
  while (accepted(doubleByte + "表")) doubleByte += "表";
  for (const std::string& name : {std::string(longest, 'a'), doubleByte}) {
    ASSERT_TRUE(RegisterMenuEntry(name, false, {false, false, true, false})) << name.size();
    EXPECT_TRUE(MenuExtSubkeys().count(name)) << name.size();
    EXPECT_TRUE(IsMenuEntryRegistered(name)) << name.size();
    EXPECT_EQ(Dword(name, "Contexts"), 0x20u) << name.size();
    EXPECT_EQ(Dword(name, "Flags"), 0u) << name.size();
    Items = {NamedItem(name)};
    EXPECT_TRUE(UnregisterMenuEntry(0)) << name.size();
    EXPECT_FALSE(MenuExtSubkeys().count(name)) << name.size();
    EXPECT_FALSE(IsMenuEntryRegistered(name)) << name.size();
  }
}

TEST_F(Registration, KeyPathEndingInABackslashDeletesNothing) {
  ASSERT_TRUE(RegisterMenuEntry("Kept", false, {true, false, false, false}));
  // Each would name MenuExt, or the item's key, as the key to delete.
  EXPECT_FALSE(DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey("")));
  EXPECT_FALSE(DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey("Kept") + "\\"));
  EXPECT_TRUE(IsMenuEntryRegistered("Kept"));
}

TEST_F(Registration, RegistryOperationsReportFailure) {
  RegistryValue value;
  value.text = "x";
  EXPECT_FALSE(WriteRegistryValue(RegHive::CurrentUser, MenuEntryKey("T"), "v", 3, value)) << "REG_BINARY";
  EXPECT_FALSE(MenuExtSubkeys().count("T")) << "an unsupported type creates nothing";
  RegistryValue fallback;
  fallback.text = "default";
  EXPECT_EQ(ReadRegistryValue(RegHive::CurrentUser, MenuEntryKey("Missing"), "", kRegSz, fallback).text,
            "default");
  // A string that does not fit the 256-byte buffer reads as the default.
  RegistryValue longText;
  longText.text = std::string(300, 'a');
  ASSERT_TRUE(WriteRegistryValue(RegHive::CurrentUser, MenuEntryKey("Long"), "", kRegSz, longText));
  EXPECT_EQ(ReadRegistryValue(RegHive::CurrentUser, MenuEntryKey("Long"), "", kRegSz, fallback).text,
            "default");
  EXPECT_FALSE(DeleteRegistryKey(RegHive::CurrentUser, MenuEntryKey("Missing")));
}

TEST_F(Registration, DeleteRemovesKeyAndScriptButNeverAnotherItemsStorage) {
  Items = {NamedItem("Foo"), NamedItem("Bar")};
  for (const auto& item : Items) {
    ASSERT_TRUE(RegisterMenuEntry(item.ItemName, false, {true, false, false, false}));
    ASSERT_TRUE(WriteFileBytes(ScriptFilePath(item.ItemName), "x"));
  }
  EXPECT_TRUE(DeleteScriptFile(1));
  EXPECT_TRUE(UnregisterMenuEntry(1));
  EXPECT_FALSE(FileExists(ScriptFilePath("Bar")));
  EXPECT_FALSE(IsMenuEntryRegistered("Bar"));
  EXPECT_FALSE(DeleteScriptFile(1)) << "already gone";
  EXPECT_FALSE(UnregisterMenuEntry(1));

  // A rename from foo to Foo lists both for a moment: the old record's clean-up
  // must not remove the key and file the new name has just written.
  Items = {NamedItem("foo"), NamedItem("Foo")};
  EXPECT_FALSE(DeleteScriptFile(0));
  EXPECT_FALSE(UnregisterMenuEntry(0));
  EXPECT_TRUE(FileExists(ScriptFilePath("Foo")));
  EXPECT_TRUE(IsMenuEntryRegistered("Foo"));
}

TEST_F(Registration, ReadingNeedsOnlyTheRightToRead) {
  // A standard user may read, but not write, keys such as the browser's
  // source-editor setting under HKEY_LOCAL_MACHINE. A key whose access list
  // grants reading only stands in for one: a read must not ask for more.
  const std::string path = "Software\\OrbiskTests\\ReadOnly";
  HKEY raw = nullptr;
  ASSERT_EQ(
      RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr),
      ERROR_SUCCESS);
  UniqueRegKey key(raw);
  const char editor[] = "C:\\Editors\\view.exe";
  ASSERT_EQ(RegSetValueExA(key.get(), "", 0, REG_SZ, reinterpret_cast<const BYTE*>(editor), sizeof editor),
            ERROR_SUCCESS);
  const DWORD number = 7;
  ASSERT_EQ(
      RegSetValueExA(key.get(), "N", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number),
      ERROR_SUCCESS);
  SECURITY_DESCRIPTOR readOnly;
  alignas(ACL) BYTE aclBuffer[256];
  auto* acl = reinterpret_cast<ACL*>(aclBuffer);
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
  ASSERT_TRUE(InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION));
  ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone));
  ASSERT_TRUE(InitializeSecurityDescriptor(&readOnly, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&readOnly, TRUE, acl, FALSE));
  ASSERT_EQ(RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &readOnly), ERROR_SUCCESS);
  key.reset();

  // The key now really refuses the old, wider request.
  HKEY wide = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, 0x3F, &wide), ERROR_ACCESS_DENIED);
  if (wide) RegCloseKey(wide);

  EXPECT_EQ(ReadRegistryValue(RegHive::CurrentUser, path, "", kRegSz, RegistryValue{}).text, editor);
  EXPECT_EQ(ReadRegistryValue(RegHive::CurrentUser, path, "N", kRegDword, RegistryValue{}).number, 7u);

  // Give the access back (a descriptor without an access list lets
  // everyone in) so that the key can go.
  HKEY owner = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, &owner), ERROR_SUCCESS);
  SECURITY_DESCRIPTOR open;
  ASSERT_TRUE(InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE));
  EXPECT_EQ(RegSetKeySecurity(owner, DACL_SECURITY_INFORMATION, &open), ERROR_SUCCESS);
  RegCloseKey(owner);
  FreeSid(everyone);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str()), ERROR_SUCCESS);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\OrbiskTests");
}
