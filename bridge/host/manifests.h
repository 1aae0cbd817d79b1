// What "OrbiskHost.exe /register" writes: two host manifests beside the
// program and one registry key per browser naming a manifest.
#pragma once

#include <string>
#include <string_view>

inline constexpr char kChromiumManifestName[] = "orbisk.host.json";
inline constexpr char kFirefoxManifestName[] = "orbisk.host.firefox.json";

// A key below HKEY_CURRENT_USER whose default value is the full path of the
// manifest of the given name.
struct HostRegistryKey {
  const char* path;
  const char* manifestName;
};

inline constexpr HostRegistryKey kHostRegistryKeys[] = {
    {"Software\\Google\\Chrome\\NativeMessagingHosts\\orbisk.host", kChromiumManifestName},
    {"Software\\Microsoft\\Edge\\NativeMessagingHosts\\orbisk.host", kChromiumManifestName},
    {"Software\\Mozilla\\NativeMessagingHosts\\orbisk.host", kFirefoxManifestName},
};

// The manifests' JSON (UTF-8); hostPathUtf8 is the program's full path.
std::string ChromiumManifest(std::string_view hostPathUtf8);
std::string FirefoxManifest(std::string_view hostPathUtf8);
