// Japanese literals must reach the ANSI calls as code-page 932 bytes.
#include <windows.h>

#include <gtest/gtest.h>

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
