#include "launchers/jotwell/code_runners.h"

#include "common/text_util.h"
#include "launchers/common/launcher_text.h"

namespace {

// How a program's name may go on after the name it is known by.
enum class Suffix {
  None,     // "cmd.exe" only
  Version,  // a version as well: "python3.exe", "python3.12.exe", "tclsh86t.exe", "lua5.4.exe"
  Any,      // anything: "AutoHotkeyU64.exe", "AutoIt3_x64.exe"
};

struct CodeRunner {
  std::string_view name;  // upper case, without ".EXE"
  Suffix suffix;
};

// The one list of such programs.
constexpr CodeRunner kCodeRunners[] = {
    // Shells and terminals: they run their argument or the file it names.
    {"CMD", Suffix::None},
    {"POWERSHELL", Suffix::None},
    {"PWSH", Suffix::None},
    {"BASH", Suffix::None},
    {"SH", Suffix::None},
    {"DASH", Suffix::None},
    {"ZSH", Suffix::None},
    {"KSH", Suffix::None},
    {"CSH", Suffix::None},
    {"TCSH", Suffix::None},
    {"FISH", Suffix::None},
    {"WSL", Suffix::None},
    {"CONHOST", Suffix::None},
    {"WT", Suffix::None},
    {"MINTTY", Suffix::None},
    // Script hosts, and the HTML application host.
    {"WSCRIPT", Suffix::None},
    {"CSCRIPT", Suffix::None},
    {"MSHTA", Suffix::None},
    // Interpreters and runtimes that run a script or program file given as
    // their first argument.
    {"PYTHON", Suffix::Version},
    {"PYTHONW", Suffix::Version},
    {"PY", Suffix::None},
    {"PYW", Suffix::None},
    {"PYPY", Suffix::Version},
    {"IPYTHON", Suffix::Version},
    {"NODE", Suffix::None},
    {"DENO", Suffix::None},
    {"BUN", Suffix::None},
    {"PERL", Suffix::Version},
    {"WPERL", Suffix::Version},
    {"RUBY", Suffix::Version},
    {"RUBYW", Suffix::Version},
    {"PHP", Suffix::Version},
    {"PHP-WIN", Suffix::None},
    {"PHP-CGI", Suffix::None},
    {"JAVA", Suffix::None},
    {"JAVAW", Suffix::None},
    {"JSHELL", Suffix::None},
    {"JRUNSCRIPT", Suffix::None},
    {"JJS", Suffix::None},
    {"TCLSH", Suffix::Version},
    {"WISH", Suffix::Version},
    {"LUA", Suffix::Version},
    {"WLUA", Suffix::Version},
    {"LUAJIT", Suffix::Version},
    {"RSCRIPT", Suffix::None},
    {"JULIA", Suffix::None},
    {"AWK", Suffix::None},
    {"GAWK", Suffix::None},
    {"MAWK", Suffix::None},
    {"DOTNET", Suffix::None},
    {"CSI", Suffix::None},
    {"FSI", Suffix::None},
    {"FSIANYCPU", Suffix::None},
    {"AUTOHOTKEY", Suffix::Any},
    {"AUTOIT3", Suffix::Any},
    // Programs of Windows that load, install, register or apply the file
    // given to them: libraries, installers, setup and registry scripts,
    // .NET assemblies, and a build tool that takes any file as its project.
    {"RUNDLL32", Suffix::None},
    {"REGSVR32", Suffix::None},
    {"MSIEXEC", Suffix::None},
    {"WUSA", Suffix::None},
    {"MSBUILD", Suffix::None},
    {"INSTALLUTIL", Suffix::None},
    {"REGASM", Suffix::None},
    {"REGSVCS", Suffix::None},
    {"CMSTP", Suffix::None},
    {"INFDEFAULTINSTALL", Suffix::None},
    {"REGEDIT", Suffix::None},
    {"REGEDT32", Suffix::None},
    {"REGINI", Suffix::None},
    {"PRESENTATIONHOST", Suffix::None},
    {"IEEXEC", Suffix::None},
    {"MSXSL", Suffix::None},
    // Programs that hand the file on to be run or rendered with its scripts:
    // control-panel items, consoles, compiled help, the shell and the
    // browser, which takes a text file for a page when it looks like one.
    {"CONTROL", Suffix::None},
    {"MMC", Suffix::None},
    {"HH", Suffix::None},
    {"EXPLORER", Suffix::None},
    {"IEXPLORE", Suffix::None},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A version as installers append it: an optional "-" or "_", digits and dots
// beginning with a digit, and at most one letter at the end ("3.13t").
bool IsVersion(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '_')) text.remove_prefix(1);
  if (text.empty() || !IsDigit(text.front())) return false;
  if (IsLetter(text.back())) text.remove_suffix(1);
  for (const char c : text) {
    if (!IsDigit(c) && c != '.') return false;
  }
  return true;
}

bool Matches(const CodeRunner& runner, std::string_view stem) {
  if (stem.substr(0, runner.name.size()) != runner.name) return false;
  const std::string_view rest = stem.substr(runner.name.size());
  switch (runner.suffix) {
    case Suffix::None:
      return rest.empty();
    case Suffix::Version:
      return rest.empty() || IsVersion(rest);
    case Suffix::Any:
      return true;
  }
  return false;
}

}  // namespace

bool RunsFileAsCode(std::string_view programFileName) {
  constexpr std::string_view kExe = ".EXE";
  if (!EndsWithNoCase(programFileName, kExe)) return false;
  const std::string stem = ToUpperSjis(programFileName.substr(0, programFileName.size() - kExe.size()));
  for (const CodeRunner& runner : kCodeRunners) {
    if (Matches(runner, stem)) return true;
  }
  return false;
}
