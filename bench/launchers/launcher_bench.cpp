// Times a full run of each launcher (process start to process end; for
// Clipsy that is start to clipboard filled) over 20 runs against the
// do-nothing program started the same way, and prints the ratio of medians.
// Run under Wine by bench/run.sh.
// winsock2.h, which the server needs, must come before windows.h.
// clang-format off
#include "tests/wine/launchers/http_server.h"
// clang-format on
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "bench/seconds.h"
#include "tests/harness/build_output.h"

namespace {

constexpr int kRuns = 20;

// Starts the command line and waits for its end; the elapsed seconds, or -1.
double TimedRun(const std::string& commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string line = commandLine;
  const double start = Seconds();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  const bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
  const double elapsed = Seconds() - start;
  if (!ended) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return ended ? elapsed : -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.size() % 2 ? values[values.size() / 2]
                           : (values[values.size() / 2 - 1] + values[values.size() / 2]) / 2;
}

struct Figures {
  double median = 0, mean = 0;
  bool ok = true;
};

Figures Summarise(const std::vector<double>& times) {
  Figures figures;
  for (const double t : times) {
    if (t < 0) figures.ok = false;
    figures.mean += t / static_cast<double>(times.size());
  }
  figures.median = Median(times);
  return figures;
}

// One warm-up run of each, then kRuns timed runs of each, taken in turns so
// that a busy moment of the machine weighs on both alike.
std::pair<Figures, Figures> Measure(const std::string& commandLine, const std::string& idleCommandLine) {
  TimedRun(idleCommandLine);
  TimedRun(commandLine);
  std::vector<double> times, idleTimes;
  for (int i = 0; i < kRuns; ++i) {
    idleTimes.push_back(TimedRun(idleCommandLine));
    times.push_back(TimedRun(commandLine));
  }
  return {Summarise(times), Summarise(idleTimes)};
}

std::string Copy(const std::string& from, const std::string& folder, const std::string& name) {
  const std::string to = folder + name;
  CopyFileA(from.c_str(), to.c_str(), FALSE);
  return to;
}

void Print(const char* name, const Figures& launcher, const Figures& idle) {
  std::printf("%-10s median %7.1f ms  mean %7.1f ms   do-nothing median %6.1f ms   ratio %.2f%s\n", name,
              launcher.median * 1000, launcher.mean * 1000, idle.median * 1000, launcher.median / idle.median,
              launcher.ok ? "" : "  (some runs failed)");
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
  std::printf("%d runs each, under Wine; times from process start to process end.\n", kRuns);
  for (const Case& c : cases) {
    const auto [launcher, idleFigures] =
        Measure("\"" + c.program + "\" " + c.argumentText, "\"" + idle + "\" " + c.argumentText);
    Print(c.name, launcher, idleFigures);
    if (!c.done()) std::printf("           but its result is missing: the figures mean nothing\n");
  }
  std::printf("Fetchbay served %zu downloads.\n", server.Requests().size());
  return 0;
}
