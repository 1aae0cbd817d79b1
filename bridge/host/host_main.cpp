// OrbiskHost.exe: the browsers' native messaging host for Orbisk's items.
// Started by a browser for the Orbisk extension, it lists Orbisk's items and
// does what an item's script would do when one is picked. Started with
// /register or /unregister (each optionally followed by /quiet), it
// registers itself with the browsers or removes that registration.
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "bridge/host/extension_ids.h"
#include "bridge/host/host_platform_win.h"
#include "bridge/host/host_session.h"
#include "bridge/host/host_texts.h"
#include "bridge/host/registration_win.h"
#include "bridge/host/settings_watch_win.h"
#include "bridge/host/stdio_win.h"
#include "catalogue/program_paths.h"
#include "common/growing_buffer.h"
#include "common/module_path.h"
#include "common/product.h"
#include "common/utf.h"
#include "common/win_handles.h"

namespace {

std::vector<std::wstring> CommandLineArguments() {
  std::vector<std::wstring> arguments;
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
  const UniqueLocalMemory owner(list);
  if (!list) return arguments;
  for (int i = 0; i < count; ++i) arguments.emplace_back(list[i]);
  return arguments;
}

std::wstring HostPath() {
  return GrowingBufferCall<wchar_t>(CutReport::FilledWhole, [](wchar_t* buffer, std::size_t capacity) {
    return GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(capacity));
  });
}

std::wstring Wide(const std::string& utf8) {
  const std::u16string text = Utf8ToUtf16(utf8);
  return std::wstring(text.begin(), text.end());
}

bool SameSwitch(const std::wstring& argument, const wchar_t* name) {
  return CompareStringOrdinal(argument.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
}

// In the program's Japanese style: titled with the product name. With
// /quiet (an installer's silent run, which must not wait on a box nobody
// sees) only the exit code tells: 0 done, 1 failed.
int Report(bool ok, bool quiet, const std::string& success, const std::string& failure) {
  if (!quiet) {
    MessageBoxW(nullptr, Wide(ok ? success : failure).c_str(), L"" ORBISK_PRODUCT_NAME,
                MB_OK | (ok ? MB_ICONINFORMATION : MB_ICONERROR) | MB_SETFOREGROUND);
  }
  return ok ? 0 : 1;
}

int Serve(const std::vector<std::wstring>& arguments) {
  std::vector<std::string> callerArguments;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    callerArguments.push_back(Utf16ToUtf8(std::u16string(arguments[i].begin(), arguments[i].end())));
  }
  const bool allowed = IsOrbiskExtension(callerArguments);

  UserFolder = GetUserFolder();
  WinHostPlatform platform(UserFolder + kSettingsFileName);
  StandardOutputWriter output;
  HostSession session(platform, allowed, [&output](const std::string& body) { output.Write(body); });

  // The port stays open after the first answer; from then on a changed list
  // goes out unasked. A one-off message's answer is never raced by it.
  std::unique_ptr<SettingsWatcher> watcher;
  const auto startWatching = [&] {
    if (!allowed) return;
    watcher = std::make_unique<SettingsWatcher>(UserFolder + kSettingsFileName, GetProgramFolder(),
                                                [&session] { session.SendItemsIfChanged(); });
    if (!watcher->Start()) watcher.reset();
  };
  ServeMessages(StandardInputReader(), session, startWatching);
  watcher.reset();
  return 0;
}

int Run() {
  const std::vector<std::wstring> arguments = CommandLineArguments();
  const bool quiet = arguments.size() >= 3 && SameSwitch(arguments[2], L"/quiet");
  if (arguments.size() >= 2 && SameSwitch(arguments[1], L"/register")) {
    return Report(RegisterHost(HostPath()), quiet, host_texts::Registered(), host_texts::RegisterFailed());
  }
  if (arguments.size() >= 2 && SameSwitch(arguments[1], L"/unregister")) {
    return Report(UnregisterHost(HostPath()), quiet, host_texts::Unregistered(),
                  host_texts::UnregisterFailed());
  }
  return Serve(arguments);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    return Run();
  } catch (...) {
    return 2;
  }
}
