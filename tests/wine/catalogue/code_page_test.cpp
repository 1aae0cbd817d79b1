// Japanese literals must reach the ANSI calls as code-page 932 bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/wide_text.h"

TEST(CodePage, SystemCodePageIs932) { EXPECT_EQ(GetACP(), 932u); }

TEST(CodePage, LiteralsAreShiftJis) {
  // 表 is 95 5C, 項目数： is 8D 80 96 DA 90 94 81 46.
  EXPECT_EQ(std::string("表"), "\x95\x5C");
  EXPECT_EQ(std::string("項目数："), "\x8D\x80\x96\xDA\x90\x94\x81\x46");
  // Read back through the platform: the ANSI text converts to the expected
  // UTF-16 characters.
  const std::string ansi = "一覧表";
  wchar_t wide[8] = {};
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, 8);
  EXPECT_EQ(length, 4);
  EXPECT_EQ(std::wstring(wide), L"\u4E00\u89A7\u8868");
}

TEST(CodePage, WindowTextRoundTripsThroughAnsiCalls) {
  HWND window = CreateWindowA("STATIC", "登録済み項目一覧(&L)", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  wchar_t wide[64] = {};
  GetWindowTextW(window, wide, 64);
  EXPECT_EQ(std::wstring(wide), L"\u767B\u9332\u6E08\u307F\u9805\u76EE\u4E00\u89A7(&L)");
  DestroyWindow(window);
}

TEST(CodePage, AnsiAndWideConvertBothWays) {
  struct Case {
    std::string ansi;
    std::wstring wide;
  } cases[] = {
      {"", L""},
      {"Orbisk", L"Orbisk"},
      {"一覧表", L"\u4E00\u89A7\u8868"},
      {"ｱﾌﾟﾘ", L"\uFF71\uFF8C\uFF9F\uFF98"},  // half-width katakana: one byte each
      {std::string("a\0表", 4), std::wstring(L"a\0\u8868", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToWide(c.ansi), c.wide) << c.ansi;
    EXPECT_EQ(ToAnsi(c.wide), c.ansi) << c.ansi;
  }
  // What the code page lacks becomes its default character.
  EXPECT_EQ(ToAnsi(L"a\u0E01b"), "a?b");
}

TEST(CodePage, WindowTextComesWholeThroughTheWideCall) {
  HWND window = CreateWindowA("EDIT", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowTextAnsi(window), "");
  for (const std::string& text : {std::string("登録済み項目一覧(&L)"), std::string(3000, 'x') + "表"}) {
    SetWindowTextA(window, text.c_str());
    EXPECT_EQ(WindowTextAnsi(window), text);
  }
  DestroyWindow(window);
}
