#include "catalogue/registry.h"

#include "common/text_util.h"

#ifdef _WIN32
#include <windows.h>

#include "common/win_handles.h"
#endif

KeyPathParts SplitKeyPath(std::string_view keyPath) {
  const auto separator = FindLastSjisChar(keyPath, '\\');
  if (separator == std::string_view::npos) return {"", std::string(keyPath)};
  return {std::string(keyPath.substr(0, separator)), std::string(keyPath.substr(separator + 1))};
}

#ifdef _WIN32
namespace {

// Writes: query value, set value, create subkey, enumerate subkeys, notify,
// create link.
constexpr REGSAM kWriteAccess = 0x3F;
// Reads ask for nothing more than reading: a standard user may read, but not
// write, keys under HKEY_LOCAL_MACHINE such as the source-editor setting.
constexpr REGSAM kReadAccess = KEY_QUERY_VALUE;
constexpr DWORD kStringBufferSize = 256;

HKEY RootKey(RegHive hive) { return hive == RegHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// The key that holds the named key: the hive itself, or its parent key
// opened (or, with create, created where missing) into holder. Every key is
// reached from its parent (SplitKeyPath tells why); nullptr on failure.
HKEY OpenParent(RegHive hive, const std::string& parentPath, bool create, UniqueRegKey& holder) {
  if (parentPath.empty()) return RootKey(hive);
  LONG result;
  if (create) {
    char emptyClass[] = "";
    result = RegCreateKeyExA(RootKey(hive), parentPath.c_str(), 0, emptyClass, REG_OPTION_NON_VOLATILE,
                             KEY_CREATE_SUB_KEY, nullptr, holder.put(), nullptr);
  } else {
    result = RegOpenKeyExA(RootKey(hive), parentPath.c_str(), 0, kReadAccess, holder.put());
  }
  return result == ERROR_SUCCESS ? holder.get() : nullptr;
}

}  // namespace

bool WriteRegistryValue(RegHive hive, const std::string& keyPath, const std::string& valueName, uint32_t type,
                        const RegistryValue& value) {
  if (type != kRegSz && type != kRegDword) return false;
  const KeyPathParts parts = SplitKeyPath(keyPath);
  UniqueRegKey parent;
  const HKEY holder = OpenParent(hive, parts.parent, true, parent);
  if (!holder) return false;
  UniqueRegKey key;
  char emptyClass[] = "";
  if (RegCreateKeyExA(holder, parts.name.c_str(), 0, emptyClass, REG_OPTION_NON_VOLATILE, kWriteAccess,
                      nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG result;
  if (type == kRegSz) {
    result = RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.text.c_str()),
                            static_cast<DWORD>(value.text.size() + 1));
  } else {
    const DWORD number = value.number;
    result = RegSetValueExA(key.get(), valueName.c_str(), 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&number), sizeof number);
  }
  return result == ERROR_SUCCESS;
}

RegistryValue ReadRegistryValue(RegHive hive, const std::string& keyPath, const std::string& valueName,
                                uint32_t type, const RegistryValue& defaultValue) {
  if (type != kRegSz && type != kRegDword) return defaultValue;
  const KeyPathParts parts = SplitKeyPath(keyPath);
  UniqueRegKey parent;
  const HKEY holder = OpenParent(hive, parts.parent, false, parent);
  UniqueRegKey key;
  if (!holder || RegOpenKeyExA(holder, parts.name.c_str(), 0, kReadAccess, key.put()) != ERROR_SUCCESS) {
    return defaultValue;
  }
  RegistryValue result;
  if (type == kRegSz) {
    std::string buffer(kStringBufferSize, '\0');
    DWORD size = kStringBufferSize;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
      return defaultValue;
    }
    result.text = buffer.substr(0, buffer.find('\0'));
  } else {
    DWORD number = 0;
    DWORD size = sizeof number;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&number),
                         &size) != ERROR_SUCCESS) {
      return defaultValue;
    }
    result.number = number;
  }
  return result;
}

bool DeleteRegistryKey(RegHive hive, const std::string& keyPath) {
  const KeyPathParts parts = SplitKeyPath(keyPath);
  // Deleting "" below a key deletes that key itself: a path without a name
  // of its own (an item without a name gives MenuExt's path and a backslash)
  // must not take the key that holds it away.
  if (parts.name.empty()) return false;
  UniqueRegKey parent;
  const HKEY holder = OpenParent(hive, parts.parent, false, parent);
  return holder && RegDeleteKeyA(holder, parts.name.c_str()) == ERROR_SUCCESS;
}
#endif  // _WIN32
