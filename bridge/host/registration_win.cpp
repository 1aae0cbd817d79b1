#include "bridge/host/registration_win.h"

#include <windows.h>

#include "bridge/host/manifests.h"
#include "common/utf.h"
#include "common/win_handles.h"

namespace {

std::wstring WideAscii(const char* text) { return std::wstring(text, text + strlen(text)); }

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  UniqueFile file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD wrote = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) &&
         wrote == bytes.size() && FlushFileBuffers(file.get());
}

bool SetDefaultValue(const std::wstring& keyPath, const std::wstring& value) {
  UniqueRegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const auto size = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), size) ==
         ERROR_SUCCESS;
}

bool Gone(LONG status) { return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND; }

}  // namespace

bool RegisterHost(const std::wstring& hostPath) {
  const std::wstring folder = FolderOf(hostPath);
  const std::u16string path16(hostPath.begin(), hostPath.end());
  const std::string hostPathUtf8 = Utf16ToUtf8(path16);
  if (!WriteWholeFile(folder + WideAscii(kChromiumManifestName), ChromiumManifest(hostPathUtf8)) ||
      !WriteWholeFile(folder + WideAscii(kFirefoxManifestName), FirefoxManifest(hostPathUtf8))) {
    return false;
  }
  for (const HostRegistryKey& key : kHostRegistryKeys) {
    if (!SetDefaultValue(WideAscii(key.path), folder + WideAscii(key.manifestName))) return false;
  }
  return true;
}

bool UnregisterHost(const std::wstring& hostPath) {
  const std::wstring folder = FolderOf(hostPath);
  bool ok = true;
  // Only the host's own keys: the browsers' NativeMessagingHosts keys and
  // other hosts below them stay.
  for (const HostRegistryKey& key : kHostRegistryKeys) {
    ok = Gone(RegDeleteKeyW(HKEY_CURRENT_USER, WideAscii(key.path).c_str())) && ok;
  }
  for (const char* name : {kChromiumManifestName, kFirefoxManifestName}) {
    const std::wstring path = folder + WideAscii(name);
    ok = (DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) && ok;
  }
  return ok;
}
