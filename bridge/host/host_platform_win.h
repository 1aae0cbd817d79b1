// The host's platform: Orbisk's catalogue read through the catalogue's own
// loader, the system's code page conversion and clock, and starting the
// application as the item's script starts it.
#pragma once

#include <string>

#include "bridge/host/host_session.h"

// Code page 932 (the system's ANSI code page) to UTF-16.
std::u16string AnsiToUtf16Text(std::string_view ansi);

class WinHostPlatform : public HostPlatform {
 public:
  // settingsPath: Orbisk's settings file, whatever the host's own name.
  explicit WinHostPlatform(std::string settingsPath);

  CatalogueSnapshot ReadCatalogue() override;
  std::u16string AnsiToUtf16(std::string_view ansi) override;
  std::u16string AsCodePageHoldsIt(std::u16string_view text) override;
  ProgramKind KindOfProgram(const std::u16string& application) override;
  LocalTime Now() override;
  LaunchResult Launch(const LaunchPlan& plan) override;

 private:
  std::string settingsPath_;
};
