// Times a full run of each launcher (process start to process end; for
// Clipsy that is start to clipboard filled) against the do-nothing program
// started the same way, pair by pair, and prints the median of the pairs'
// ratios. Every run is checked: each program ends with 0, and each launcher
// run leaves its result (the clipboard's text, the line, the download, the
// shortcut), as the launcher's own rules say it should be, after the result
// of the run before was taken away.
// Run under Wine by bench/run.sh, and with --smoke by the test run
// (bench/bench_run.h).
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

#include "bench/bench_run.h"
#include "bench/paired_timing.h"
#include "common/atomic_file.h"
#include "common/path_kind.h"
#include "common/win_handles.h"
#include "launchers/fetchbay/fetchbay_rules.h"
#include "launchers/jotwell/jotwell_options.h"
#include "launchers/pagewatch/pagewatch_rules.h"
#include "tests/harness/build_output.h"

namespace {

// Starts the command line and waits for its end; the elapsed seconds, or -1
// when it could not start, did not end or ended with another code than 0.
double TimedRun(const std::string& commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  UniqueProcessInformation process;
  std::string line = commandLine;
  const double start = Seconds();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      process.put())) {
    Wrong("cannot start " + commandLine);
    return -1;
  }
  const bool ended = WaitForSingleObject(process.process(), 30000) == WAIT_OBJECT_0;
  const double elapsed = Seconds() - start;
  if (!ended) {
    TerminateProcess(process.process(), 1);
    Wrong(commandLine + " did not end");
    return -1;
  }
  DWORD code = 1;
  GetExitCodeProcess(process.process(), &code);
  if (code != 0) {
    Wrong(commandLine + " ended with " + std::to_string(code));
    return -1;
  }
  return elapsed;
}

std::string Copy(const std::string& from, const std::string& folder, const std::string& name) {
  const std::string to = folder + name;
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) Wrong("cannot copy " + from + " to " + to);
  return to;
}

void Print(const char* name, const PairedFigures& f) {
  std::printf("%-10s median %7.1f ms  mean %7.1f ms   do-nothing median %6.1f ms   ratio %.2f", name,
              f.medianB * 1000, f.meanB * 1000, f.medianA * 1000, f.medianRatio);
  if (!f.ok) std::printf("   (%d runs failed)", f.failedRuns);
  std::printf("\n");
}

// The file's bytes; "" when it cannot be read.
std::string FileText(const std::string& path) {
  std::string bytes;
  return ReadWholeFile(path, &bytes) ? bytes : std::string();
}

// The text with its line breaks shown, for a message.
std::string Shown(const std::string& text) {
  std::string shown = "\"";
  for (const char c : text) shown += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return shown + "\"";
}

bool FileHolds(const std::string& path, const std::string& expected) {
  const std::string text = FileText(path);
  if (text != expected) return Wrong(path + " holds " + Shown(text) + ", not " + Shown(expected));
  return true;
}

std::string ClipboardText() {
  std::string text;
  if (OpenClipboard(nullptr)) {
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      if (const char* locked = static_cast<const char*>(GlobalLock(data))) {
        text = locked;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
  }
  return text;
}

void EmptyTheClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

}  // namespace

int main(int argc, char** argv) {
  const BenchRun run = StartBench(argc, argv);
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
  if (!server.running()) {
    std::printf("the local HTTP server did not start\n");
    return EndBench(false);
  }

  // Each launcher's result, where its own rules put it; a case whose
  // arguments those rules do not take has none, and fails.
  const std::string clipText = "ベンチマーク \"text\"\r\nsecond line";
  const std::string jotwellText = "/sベンチマークの行 /o" + folder + "bench.txt";
  const JotwellOptions jotted = ParseOptions(jotwellText, GetPathKind);
  const std::string fetchbayText = server.BaseUrl() + "/bench/file.bin " + idle;
  const auto fetched = SplitFetchbayArguments(fetchbayText);
  const std::string download = fetched ? folder + FileNameFromUrl(fetched->url) : "";
  const std::string pagewatchText = "http://example.com/bench ベンチマーク: ページ";
  const auto watched = SplitPagewatchArguments(pagewatchText);
  const std::string shortcut = watched ? ShortcutPathFor(folder, watched->title) : "";
  struct Case {
    const char* name;
    std::string program, argumentText;
    std::function<void()> clear;  // takes away the result of the run before
    std::function<bool()> done;   // whether this run left its result
  } cases[] = {
      {"Clipsy", clipsy, clipText, EmptyTheClipboard,
       [&] {
         const std::string text = ClipboardText();
         return text == clipText || Wrong("the clipboard holds " + Shown(text));
       }},
      {"Jotwell", jotwell, jotwellText, [&] { DeleteFileA(jotted.filePath.c_str()); },
       [&] { return jotted.usable && FileHolds(jotted.filePath, jotted.text + "\r\n"); }},
      {"Fetchbay", fetchbay, fetchbayText, [&] { DeleteFileA(download.c_str()); },
       [&] { return fetched && FileHolds(download, LocalHttpServer::BodyFor("/bench/file.bin")); }},
      {"Pagewatch", pagewatch, pagewatchText, [&] { DeleteFileA(shortcut.c_str()); },
       [&] { return watched && FileHolds(shortcut, UrlShortcutContent(watched->url)); }},
  };
  std::printf(
      "%d pairs of runs, under Wine; times from process start to process end; the ratio is the\n"
      "median of launcher / do-nothing over the pairs.\n",
      run.pairs);
  bool allRight = true;
  for (const Case& c : cases) {
    // Pair by pair: the do-nothing program, then the launcher.
    const std::string arguments = c.argumentText;
    const PairedFigures figures = MeasurePairs(
        run.pairs, [&] { return TimedRun("\"" + idle + "\" " + arguments); },
        [&] {
          c.clear();
          const double seconds = TimedRun("\"" + c.program + "\" " + arguments);
          return seconds >= 0 && c.done() ? seconds : -1;
        });
    Print(c.name, figures);
    allRight &= figures.ok;
  }
  std::printf("Fetchbay served %zu downloads.\n", server.Requests().size());
  return EndBench(allRight);
}
