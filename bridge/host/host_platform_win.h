// The host's platform: Orbisk's catalogue read through the catalogue's own
// loader, the code page 932 conversions of common/wide_text.h, the clock,
// and starting the application as the item's script starts it.
#pragma once

#include <string>

#include "bridge/host/host_session.h"

class WinHostPlatform : public HostPlatform {
 public:
  // settingsPath: Orbisk's settings file, whatever the host's own name.
  explicit WinHostPlatform(std::string settingsPath);

  CatalogueSnapshot ReadCatalogue() override;
  std::u16string AnsiToUtf16(std::string_view ansi) override;
  std::u16string AsCodePageHoldsIt(std::u16string_view text) override;
  ProgramKind KindOfProgram(const std::u16string& application) override;
  std::string ToSystemAnsi(std::u16string_view text) override;
  bool IsSystemLeadByte(unsigned char byte) override;
  std::u16string SystemCmd() override;
  std::u16string BatchFileText(const std::u16string& path) override;
  LocalTime Now() override;
  LaunchResult Launch(const LaunchPlan& plan) override;

 private:
  std::string settingsPath_;
  // The code page foreign programs read their line in: the system's, not
  // the host's own (code page 932 through its manifest).
  unsigned systemAnsiCodePage_ = 0;
};
