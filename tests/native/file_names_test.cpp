// The file-name rules that item names, the item scripts' widening and the
// launchers' file names all go by.
#include <gtest/gtest.h>

#include <string>

#include "common/file_names.h"

TEST(FileNames, WidenForbiddenChars) {
  struct Case {
    std::string text, widened;
  } cases[] = {
      {"a\\b/c:d*e?f\"g<h>i|j", "a￥b／c：d＊e？f”g＜h＞i｜j"},
      {"Title: What?", "Title： What？"},
      {"\"\"", "””"},
      {"”", "\x81\x68"},
      // Trail bytes 0x5C (表) and 0x7C (ポ) are parts of characters, not separators.
      {"表ポ", "表ポ"},
      {"表\\ポ|", "表￥ポ｜"},
      // A lead byte at the very end stands alone; the backslash before it is one.
      {"\\\x95", "￥\x95"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(WidenForbiddenChars(c.text), c.widened) << c.text;
}

TEST(FileNames, WidenForbiddenCharsInUtf16) {
  EXPECT_EQ(WidenForbiddenChars(u"a\\b/c:d*e?f\"g<h>i|j"), u"a￥b／c：d＊e？f”g＜h＞i｜j");
  // Only the nine ASCII characters: U+005C's look-alikes and their wide forms stay.
  EXPECT_EQ(WidenForbiddenChars(u"¥＼￥表"), u"¥＼￥表");
  EXPECT_EQ(WidenForbiddenChars(u""), u"");
}

TEST(FileNames, ForbiddenCharsAreWholeCharacters) {
  for (const char* text : {"a\\b", "/", "c:", "*", "?", "\"", "<", ">", "a|", "表\\"}) {
    EXPECT_TRUE(HasForbiddenNameChar(text)) << text;
  }
  for (const char* text : {"", "abc", "表", "ポ", "？", "￥", "”", "\x81\x5C"}) {
    EXPECT_FALSE(HasForbiddenNameChar(text)) << text;
  }
}

TEST(FileNames, BareFileNames) {
  for (const char* name : {"a.txt", "NoFileName", "表.url", "..a", "a..", "get.cgi？id=1"}) {
    EXPECT_TRUE(IsBareFileName(name)) << name;
  }
  for (const char* name : {"", ".", "..", "..\\x.exe", "C:\\Windows\\x.dll", "a/b", "c:x", "a?b", "a*", "a|b",
                           "\\\\server\\share\\f"}) {
    EXPECT_FALSE(IsBareFileName(name)) << name;
  }
}

// Orbisk refuses such item names, Fetchbay such download names and Jotwell
// such text files.
TEST(FileNames, ReservedDeviceNames) {
  for (const char* name :
       {"CON",        "con",   "AUX",      "Nul",    "PRN",      "CLOCK$", "clock$",      "COM1",
        "Com3",       "com9",  "LPT1",     "LPT9",   "lpt9",     "CONIN$", "conout$",     "CON.txt",
        "nul.tar.gz", "com1.", "PRN .log", "aux .x", "CON .txt", "AUX  ",  "CLOCK$.html", "conin$.txt"}) {
    EXPECT_TRUE(IsReservedDeviceName(name)) << name;
  }
  for (const char* name :
       {"",     "COM0", "LPT0",    "COM10",    "COM",         "LPT",   "LPTA", "CONX",
        "ICON", "CON1", "CONSOLE", "CONx.txt", "NULL.txt",    "xCON",  ".CON", "a.CON",
        " CON", "CO N", "CLOCK",   "CONIN",    "COM\x82\x50", "ＣＯＮ"}) {  // COM１, ＣＯＮ
    EXPECT_FALSE(IsReservedDeviceName(name)) << name;
  }
}
