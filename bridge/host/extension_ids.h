// Who the host answers: the Orbisk browser extension, by its id in each
// browser family, and the name the browsers know the host by.
#pragma once

inline constexpr char kHostName[] = "orbisk.host";

// The Chromium family (Chrome, Edge): the id follows from the public key in
// bridge/extension/key.txt, which the extension's manifest carries as its
// "key": the first 32 hex digits of the SHA-256 of the DER key, with the
// digits 0-f written as the letters a-p.
inline constexpr char kChromiumExtensionId[] = "kfcinihmookjanjkhdbkaffejfgdpgcp";

// Firefox: the extension's gecko id.
inline constexpr char kGeckoExtensionId[] = "orbisk@orbisk.example";
