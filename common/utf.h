// UTF-8 and UTF-16, without the platform: the page facts arrive in UTF-8 and
// reach the started program in UTF-16, and a settings file an editor saved
// in UTF-8 is read through them.
#pragma once

#include <string>
#include <string_view>

// Invalid sequences (and encoded surrogates) become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

// True when the bytes are UTF-8 throughout: no broken or over-long
// sequence, no encoded surrogate, nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// A UTF-8 literal (u8"…") as a std::string of its bytes, for texts that must
// stay UTF-8 whatever the compiler makes of ordinary literals.
std::string FromU8(std::u8string_view text);
