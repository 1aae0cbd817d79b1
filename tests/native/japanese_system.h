// The system as the host's platform sees it on a Japanese Windows, for the
// tests' stand-ins of the platform: code page 932 with best fit, cmd.exe in
// the system folder, and a batch file that hands its arguments on.
#pragma once

#include <string>
#include <string_view>

#include "bridge/host/host_session.h"
#include "tests/native/code_page.h"

inline constexpr std::u16string_view kTestSystemCmd = u"C:\\Windows\\system32\\cmd.exe";

class JapaneseSystemPlatform : public HostPlatform {
 public:
  std::u16string AnsiToUtf16(std::string_view ansi) override { return Cp932ToUtf16(ansi); }
  std::u16string AsCodePageHoldsIt(std::u16string_view text) override { return AsCp932HoldsIt(text); }
  std::string ToSystemAnsi(std::u16string_view text) override { return Cp932WithBestFit(text); }
  bool IsSystemLeadByte(unsigned char byte) override { return IsCp932LeadByte(byte); }
  std::u16string SystemCmd() override { return std::u16string(kTestSystemCmd); }
  std::u16string BatchFileText(const std::u16string&) override { return batchFile; }

  std::u16string batchFile = u"@\"%~dp0app.exe\" %*\r\n";
};
