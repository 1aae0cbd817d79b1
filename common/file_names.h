// What a Windows file name cannot be. Orbisk refuses item names that break
// these rules, the item scripts and the host widen page text with them, and
// the launchers make file names from page text by them: one list each, so
// that all of them agree.
#pragma once

#include <array>
#include <string>
#include <string_view>

// One of the nine characters Windows forbids in file names, with the
// full-width look-alike that stands in for it.
struct ForbiddenNameChar {
  char narrow;
  const char* wide;        // code page 932
  const char16_t* wide16;  // the same character in UTF-16
};

// \ / : * ? " < > |, in the order in which the item scripts pair them with
// ￥ ／ ： ＊ ？ ” ＜ ＞ ｜. No full-width form is made of a narrow one, so
// replacing them one after another never widens a character twice.
inline constexpr std::array<ForbiddenNameChar, 9> kForbiddenNameChars = {{
    {'\\', "￥", u"￥"},
    {'/', "／", u"／"},
    {':', "：", u"："},
    {'*', "＊", u"＊"},
    {'?', "？", u"？"},
    {'"', "”", u"”"},
    {'<', "＜", u"＜"},
    {'>', "＞", u"＞"},
    {'|', "｜", u"｜"},
}};

// True when the code page 932 text holds one of the nine characters as a
// whole character: the trail byte of a double-byte character may be 0x5C
// or 0x7C, and is no backslash or bar.
bool HasForbiddenNameChar(std::string_view text);

// Every forbidden character replaced by its full-width look-alike; double-
// byte characters stay whole.
std::string WidenForbiddenChars(std::string_view text);
std::u16string WidenForbiddenChars(std::u16string_view text);

// True for a plain file name: not empty, not "." or "..", and free of every
// forbidden character, so that it can name nothing outside the folder it is
// joined to.
bool IsBareFileName(std::string_view name);

// True for a name the system reads as a device: CON, PRN, AUX, NUL, CLOCK$,
// CONIN$, CONOUT$, COM1 to COM9 and LPT1 to LPT9, in any letter case, also
// with an extension: Windows takes the part before the first dot, trailing
// blanks dropped, for the device, so "CON.txt" names the console too. A
// leading blank or a full-width letter makes an ordinary name.
bool IsReservedDeviceName(std::string_view name);
