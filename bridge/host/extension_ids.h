// Who the host answers: the Orbisk browser extension, by its id in each
// browser family, and the name the browsers know the host by.
#pragma once

#include <string>
#include <vector>

inline constexpr char kHostName[] = "orbisk.host";

// The Chromium family (Chrome, Edge): the id follows from the public key in
// bridge/extension/key.txt, which the extension's manifest carries as its
// "key": the first 32 hex digits of the SHA-256 of the DER key, with the
// digits 0-f written as the letters a-p.
inline constexpr char kChromiumExtensionId[] = "kfcinihmookjanjkhdbkaffejfgdpgcp";

// Firefox: the extension's gecko id.
inline constexpr char kGeckoExtensionId[] = "orbisk@orbisk.example";

// The origin by which a Chromium-family browser names the extension.
inline std::string ChromiumExtensionOrigin() {
  return std::string("chrome-extension://") + kChromiumExtensionId + "/";
}

// Whether the browser started the host for the Orbisk extension. The browser
// names the caller on the host's command line: Chromium-family browsers
// pass the extension's origin first; Firefox passes the manifest's path
// first and the extension's id second. arguments: the command line after the
// program, in UTF-8.
inline bool IsOrbiskExtension(const std::vector<std::string>& arguments) {
  if (!arguments.empty() && arguments[0] == ChromiumExtensionOrigin()) return true;
  return arguments.size() >= 2 && arguments[1] == kGeckoExtensionId;
}
