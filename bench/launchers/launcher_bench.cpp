// Times a full run of each launcher (process start to process end; for
// Clipsy that is start to clipboard filled) against the do-nothing program
// started the same way, in 20 pairs of runs, and prints the median of the
// pairs' ratios.
// Run under Wine by bench/run.sh.
// winsock2.h, which the server needs, must come before windows.h.
// clang-format off
#include "tests/harness/http_server.h"
// clang-format on
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "bench/paired_timing.h"
#include "common/win_handles.h"
#include "tests/harness/build_output.h"

namespace {

constexpr int kRuns = 20;

// Starts the command line and waits for its end; the elapsed seconds, or -1.
double TimedRun(const std::string& commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  UniqueProcessInformation process;
  std::string line = commandLine;
  const double start = Seconds();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      process.put())) {
    return -1;
  }
  const bool ended = WaitForSingleObject(process.process(), 30000) == WAIT_OBJECT_0;
  const double elapsed = Seconds() - start;
  if (!ended) TerminateProcess(process.process(), 1);
  return ended ? elapsed : -1;
}

std::string Copy(const std::string& from, const std::string& folder, const std::string& name) {
  const std::string to = folder + name;
  CopyFileA(from.c_str(), to.c_str(), FALSE);
  return to;
}

void Print(const char* name, const PairedFigures& f) {
  std::printf("%-10s median %7.1f ms  mean %7.1f ms   do-nothing median %6.1f ms   ratio %.2f%s\n", name,
              f.medianB * 1000, f.meanB * 1000, f.medianA * 1000, f.medianRatio,
              f.ok ? "" : "  (some runs failed)");
}

}  // namespace

int main() {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  const std::string folder = std::string(temp) + "orbisk-launcher-bench\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  SetEnvironmentVariableA("http_proxy", nullptr);

  const std::string idle = Copy(BuildOutputPath(ORBISK_IDLE_EXE), folder, "idle.exe");
  const std::string wwwc = Copy(idle, folder, "wwwc.exe");
  const std::string clipsy = Copy(BuildOutputPath(ORBISK_CLIPSY_EXE), folder, "Clipsy.exe");
  const std::string jotwell = Copy(BuildOutputPath(ORBISK_JOTWELL_EXE), folder, "Jotwell.exe");
  const std::string fetchbay = Copy(BuildOutputPath(ORBISK_FETCHBAY_EXE), folder, "Fetchbay.exe");
  const std::string pagewatch = Copy(BuildOutputPath(ORBISK_PAGEWATCH_EXE), folder, "Pagewatch.exe");
  WritePrivateProfileStringA("Pagewatch", "WwwcPath", wwwc.c_str(), (folder + "Pagewatch.ini").c_str());
  LocalHttpServer server;

  const std::string clipText = "ベンチマーク \"text\"\r\nsecond line";
  // Whether the runs did their job, so that no failing run is timed unseen.
  const auto clipboardFilled = [&] {
    std::string text;
    if (OpenClipboard(nullptr)) {
      if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
      }
      CloseClipboard();
    }
    return text == clipText;
  };
  const auto fileThere = [](const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  struct Case {
    const char* name;
    std::string program, argumentText;
    std::function<bool()> done;
  } cases[] = {
      {"Clipsy", clipsy, clipText, clipboardFilled},
      {"Jotwell", jotwell, "/sベンチマークの行 /o" + folder + "bench.txt",
       [&] { return fileThere(folder + "bench.txt"); }},
      {"Fetchbay", fetchbay, server.BaseUrl() + "/bench/file.bin " + idle,
       [&] { return fileThere(folder + "file.bin"); }},
      {"Pagewatch", pagewatch, "http://example.com/bench ベンチマーク: ページ",
       [&] { return fileThere(folder + "ベンチマーク： ページ.url"); }},
  };
  std::printf(
      "%d pairs of runs, under Wine; times from process start to process end; the ratio is the\n"
      "median of launcher / do-nothing over the pairs.\n",
      kRuns);
  for (const Case& c : cases) {
    // Pair by pair: the do-nothing program, then the launcher.
    const std::string arguments = c.argumentText;
    const PairedFigures figures = MeasurePairs(
        kRuns, [&] { return TimedRun("\"" + idle + "\" " + arguments); },
        [&] { return TimedRun("\"" + c.program + "\" " + arguments); });
    Print(c.name, figures);
    if (!c.done()) std::printf("           but its result is missing: the figures mean nothing\n");
  }
  std::printf("Fetchbay served %zu downloads.\n", server.Requests().size());
  return 0;
}
