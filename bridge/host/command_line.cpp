#include "bridge/host/command_line.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "bridge/host/cmd_reading.h"
#include "bridge/host/launcher_lines.h"
#include "bridge/host/marked_text.h"
#include "bridge/host/windows_arguments.h"
#include "common/product.h"

namespace {

using Arguments = std::vector<std::u16string>;

// One step of the template as argument rules see it: a character of the
// template's own text (date, time, tab and line break included), or a page
// value, which is never looked into.
struct Unit {
  char16_t c = 0;
  std::u16string_view value;
  bool isValue = false;
};

std::vector<Unit> UnitsOf(const ArgumentPieces& pieces) {
  std::vector<Unit> units;
  for (const ArgumentPieces::Piece& piece : pieces.pieces) {
    const std::u16string_view text = pieces.Text(piece);
    if (pieces.FromPage(piece)) {
      units.push_back({0, text, true});
    } else {
      for (const char16_t c : text) units.push_back({c, {}, false});
    }
  }
  return units;
}

bool AnyPageValue(const ArgumentPieces& pieces) {
  return std::any_of(pieces.pieces.begin(), pieces.pieces.end(),
                     [&pieces](const ArgumentPieces::Piece& piece) { return pieces.FromPage(piece); });
}

bool AnyPageValueHolds(const ArgumentPieces& pieces, std::u16string_view characters) {
  for (const ArgumentPieces::Piece& piece : pieces.pieces) {
    if (pieces.FromPage(piece) && pieces.Text(piece).find_first_of(characters) != std::u16string_view::npos) {
      return true;
    }
  }
  return false;
}

MarkedText Marked(const std::vector<Unit>& units) {
  MarkedText out;
  for (const Unit& unit : units) {
    if (unit.isValue) {
      out.Append(unit.value, true);
    } else {
      out.Append(unit.c, false);
    }
  }
  return out;
}

// --- How programs read their arguments ---------------------------------

// Every way a Windows program may split the text after its name: the C
// runtimes' two readings of quotes in a row and CommandLineToArgvW's, in
// UTF-16 and, for a program that reads the ANSI line, in the system's ANSI
// code page after Windows' best-fit conversion.
class Readings {
 public:
  explicit Readings(const AnsiCodePage& ansi) : ansi_(ansi) {}

  // True when every reading gives exactly these arguments of text.
  bool Give(std::u16string_view text, const Arguments& intended) const {
    if (SplitArguments(text) != intended) return false;
    for (const QuoteRuns rule : {QuoteRuns::Old, QuoteRuns::New}) {
      if (SplitCrtArguments(text, rule) != intended) return false;
    }
    if (!ansi_.convert) return true;
    std::vector<std::string> converted;
    for (const std::u16string& argument : intended) converted.push_back(ansi_.convert(argument));
    const std::string line = ansi_.convert(text);
    for (const QuoteRuns rule : {QuoteRuns::Old, QuoteRuns::New}) {
      if (SplitCrtArguments(line, rule, ansi_.isLeadByte) != converted) return false;
    }
    return true;
  }

  // True when every reading gives the same arguments of text, whatever they
  // are.
  bool Agree(std::u16string_view text) const { return Give(text, SplitArguments(text)); }

  // True when c is, or becomes in the ANSI reading, the dash or slash that
  // starts an option; or one of the dashes PowerShell takes for a hyphen
  // (en dash, em dash, horizontal bar), which binds a script's parameter.
  bool StartsOption(char16_t c) const {
    return c == u'-' || c == u'/' || c == u'\u2013' || c == u'\u2014' || c == u'\u2015' || Becomes(c, '-') ||
           Becomes(c, '/');
  }

  // The argument quoted so that every reading gives it back, if it can be.
  std::optional<std::u16string> Quote(std::u16string_view argument) const {
    return QuoteArgumentForEveryReading(
        argument, [this](char16_t c) { return Becomes(c, '\\'); },
        [this](char16_t c) { return Becomes(c, '"'); });
  }

 private:
  // True when c, another character, turns into ascii in the ANSI reading.
  bool Becomes(char16_t c, char ascii) const {
    if (!ansi_.convert || c == static_cast<char16_t>(ascii)) return false;
    const std::string converted = ansi_.convert(std::u16string_view(&c, 1));
    return converted.size() == 1 && converted[0] == ascii;
  }

  const AnsiCodePage& ansi_;
};

// One argument of the template, or the blanks between two.
struct TemplatePart {
  bool separator = false;
  MarkedText written;       // as the template writes it, the page's values put in as they are
  std::u16string intended;  // what the program must receive
  bool hasPageValue = false;
  bool pageValueOutsideQuotes = false;
  bool started = false;         // the argument has a first character
  bool startsWithPage = false;  // and it is the page's
  char16_t firstPageChar = 0;   // that character
};

// The template split by the program's own rules, with every page value
// taken as plain data of the argument it stands in. An empty value still
// makes its argument: no value may move the arguments after it.
std::vector<TemplatePart> SplitTemplate(const std::vector<Unit>& units) {
  std::vector<TemplatePart> parts;
  ArgumentReader reader;
  const auto partFor = [&parts](bool separator) -> TemplatePart& {
    if (parts.empty() || parts.back().separator != separator) {
      parts.emplace_back();
      parts.back().separator = separator;
    }
    return parts.back();
  };
  for (const Unit& unit : units) {
    if (unit.isValue) {
      reader.ReadData(unit.value);
      TemplatePart& part = partFor(false);
      part.written.Append(unit.value, true);
      part.hasPageValue = true;
      if (!reader.InQuotes()) part.pageValueOutsideQuotes = true;
      if (!part.started && !unit.value.empty()) {
        part.started = part.startsWithPage = true;
        part.firstPageChar = unit.value.front();
      }
    } else {
      const std::size_t before = reader.CurrentSize();
      const bool inArgument = reader.Read(unit.c);
      TemplatePart& part = partFor(!inArgument);
      part.written.Append(unit.c, false);
      if (inArgument && reader.CurrentSize() > before) part.started = true;
    }
  }
  // The reader's arguments are the template's parts that are no blanks, in order.
  std::vector<std::u16string> arguments = reader.Finish();
  std::size_t next = 0;
  for (TemplatePart& part : parts) {
    if (!part.separator) part.intended = std::move(arguments[next++]);
  }
  // Empty values at the end move no other argument: there the line stays
  // the script's, without them.
  for (std::size_t i = parts.size(); i-- > 0 && (parts[i].separator || parts[i].written.text.empty());) {
    parts[i].hasPageValue = false;
    parts[i].separator = true;
  }
  return parts;
}

Arguments IntendedArguments(const std::vector<TemplatePart>& parts) {
  Arguments intended;
  for (const TemplatePart& part : parts) {
    if (!part.separator) intended.push_back(part.intended);
  }
  return intended;
}

// No page value may begin an argument with what the program takes for an
// option, quoted or not: programs take the quotes off first. After a
// template argument "--" nothing is an option any more.
LineRefusal CheckOptions(const std::vector<TemplatePart>& parts, const Readings& readings) {
  for (const TemplatePart& part : parts) {
    if (part.separator) continue;
    if (!part.hasPageValue && part.intended == u"--") return LineRefusal::None;
    if (part.startsWithPage && readings.StartsOption(part.firstPageChar)) return LineRefusal::PageFormsOption;
  }
  return LineRefusal::None;
}

// The same for the text after a program's name as a line hands it on (what
// an item's cmd.exe gives the program it starts, after its /c rule took
// quotes off): the arguments there are the ones the C runtimes read in
// that text, which need not be the template's. With pageSplitsOnly, only an
// argument that a page blank began counts: a batch file's line, where %~1
// took off the quotes around a value and the values' arguments were judged
// before.
LineRefusal CheckOptionsIn(const MarkedText& arguments, const Readings& readings, bool pageSplitsOnly) {
  ArgumentReader reader;
  std::vector<bool> fromPage, startsOption;
  bool inArgument = false, started = false, pageSplit = false;
  for (std::size_t i = 0; i < arguments.text.size(); ++i) {
    const char16_t c = arguments.text[i];
    if (!reader.Read(c)) {
      inArgument = false;
      pageSplit = arguments.page[i];
      continue;
    }
    if (!inArgument) {
      inArgument = true;
      started = false;
      fromPage.push_back(false);
      startsOption.push_back(false);
    }
    if (arguments.page[i]) fromPage.back() = true;
    // Quotes only open and close: the first other character starts it.
    if (!started && c != u'"') {
      started = true;
      startsOption.back() = arguments.page[i] && readings.StartsOption(c) && (pageSplit || !pageSplitsOnly);
    }
  }
  const Arguments read = reader.Finish();
  for (std::size_t k = 0; k < read.size() && k < fromPage.size(); ++k) {
    if (!fromPage[k] && read[k] == u"--") return LineRefusal::None;
    if (startsOption[k]) return LineRefusal::PageFormsOption;
  }
  return LineRefusal::None;
}

ArgumentUse UseOfArguments(ProgramKind kind) {
  switch (kind) {
    case ProgramKind::Cmd:
    case ProgramKind::Batch:
      return ArgumentUse::Runs;
    case ProgramKind::ScriptHost:
    case ProgramKind::Hta:
      return ArgumentUse::RunsFirst;
    case ProgramKind::PowerShell:
      return ArgumentUse::RunsUnlessFile;
    case ProgramKind::Opener:
      return ArgumentUse::Opens;
    default:
      return ArgumentUse::Data;
  }
}

// Programs that open what an argument names or run it as code: the page
// may not choose what they open or run.
//   - explorer.exe and rundll32.exe open what they are given, and a path, a
//     share, file: or another protocol's address starts a program: the page
//     may fill an argument only as a web address (http:, https:), which goes
//     to the user's browser;
//   - mshta.exe runs the application its first argument names (a file, an
//     address or inline script), a script host the script its first
//     argument that is no "//" option names: the page may not write it;
//   - PowerShell runs its line as code, unless -File names a script: the
//     page may only fill the script's arguments.
LineRefusal CheckWhatRuns(ProgramKind kind, const std::vector<TemplatePart>& parts) {
  std::vector<std::u16string> arguments;
  std::vector<bool> fromPage;
  for (const TemplatePart& part : parts) {
    if (part.separator) continue;
    arguments.push_back(part.intended);
    fromPage.push_back(part.hasPageValue);
  }
  switch (WhatPageArgumentsAre(UseOfArguments(kind), arguments, fromPage)) {
    case PageArguments::NameWhatRuns:
      return LineRefusal::PageNamesPath;
    case PageArguments::AreCode:
      return LineRefusal::PageIsCode;
    case PageArguments::Data:
      break;
  }
  return LineRefusal::None;
}

// The argument as written, its page values escaped where they stand: inside
// the template's quotes a quote becomes \" and the backslashes before a
// quote are doubled.
std::u16string EscapedInPlace(const MarkedText& written) {
  std::u16string out;
  std::size_t backslashes = 0;
  for (std::size_t i = 0; i < written.text.size(); ++i) {
    const char16_t c = written.text[i];
    if (!written.page[i]) {
      out += c;
      continue;
    }
    if (c == u'\\') {
      ++backslashes;
    } else {
      out.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
      out += c;
      backslashes = 0;
    }
    const bool valueEnds = i + 1 == written.text.size() || !written.page[i + 1];
    if (valueEnds && backslashes > 0) {
      const bool quoteFollows = i + 1 < written.text.size() && written.text[i + 1] == u'"';
      out.append(quoteFollows ? backslashes * 2 : backslashes, u'\\');
      backslashes = 0;
    }
  }
  return out;
}

// The argument of a part in a form every reading gives back whole, leaving
// nothing after it drawn in; nothing when there is none.
std::optional<std::u16string> ArgumentFor(const TemplatePart& part, bool last, const Readings& readings) {
  if (!part.hasPageValue) return part.written.text;
  const auto readsBack = [&](const std::u16string& text) {
    if (!readings.Give(text, {part.intended})) return false;
    return last || readings.Give(text + u" x", {part.intended, u"x"});
  };
  // A page value may hold no quote of its own in the text as written: the C
  // runtimes do not all read quotes in a row alike.
  bool pageQuote = false;
  for (std::size_t i = 0; i < part.written.text.size(); ++i) {
    if (part.written.page[i] && part.written.text[i] == u'"') pageQuote = true;
  }
  if (!pageQuote && readsBack(part.written.text)) return part.written.text;
  if (!part.pageValueOutsideQuotes) {
    const std::u16string escaped = EscapedInPlace(part.written);
    if (readsBack(escaped)) return escaped;
  }
  return readings.Quote(part.intended);
}

// The arguments of the template's parts (see SplitTemplate), or nothing
// when no form of them reads back the same in every reading.
std::optional<std::u16string> ProgramArguments(const std::vector<TemplatePart>& parts,
                                               const Readings& readings) {
  const Arguments intended = IntendedArguments(parts);
  std::size_t lastArgument = parts.size();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (!parts[i].separator) lastArgument = i;
  }
  std::u16string arguments;
  bool whole = true;
  for (std::size_t i = 0; i < parts.size() && whole; ++i) {
    if (parts[i].separator) {
      arguments += parts[i].written.text;
      continue;
    }
    const std::optional<std::u16string> argument = ArgumentFor(parts[i], i == lastArgument, readings);
    if (argument) arguments += *argument;
    whole = argument.has_value();
  }
  if (whole && readings.Give(arguments, intended)) return arguments;
  // The template's own text misled the parts above (it cannot be read alone
  // the way it is read in the whole): every argument quoted then.
  arguments.clear();
  for (const std::u16string& argument : intended) {
    const std::optional<std::u16string> quoted = readings.Quote(argument);
    if (!quoted) return std::nullopt;
    if (!arguments.empty()) arguments += u' ';
    arguments += *quoted;
  }
  if (readings.Give(arguments, intended)) return arguments;
  return std::nullopt;
}

// --- The script hosts: wscript and cscript ------------------------------

// They split the line by rules of their own: blanks and tabs outside quotes
// separate, a quote only opens or closes a quoted part, and a backslash is
// only text. Page characters count as text when pageIsData is set.
Arguments SplitScriptHostArguments(const MarkedText& text, bool pageIsData) {
  Arguments arguments;
  bool quoted = false, inArgument = false;
  for (std::size_t i = 0; i < text.text.size(); ++i) {
    const char16_t c = text.text[i];
    const bool syntax = !(pageIsData && text.page[i]);
    if (syntax && !quoted && (c == u' ' || c == u'\t')) {
      inArgument = false;
      continue;
    }
    if (!inArgument) arguments.emplace_back();
    inArgument = true;
    if (syntax && c == u'"') {
      quoted = !quoted;
    } else {
      arguments.back() += c;
    }
  }
  return arguments;
}

// The page's values as they are, a value outside the template's quotes that
// holds a blank put in quotes of its own; no escapes, which the script hosts
// would leave in the text.
MarkedText ScriptHostArguments(const std::vector<Unit>& units) {
  MarkedText out;
  bool quoted = false;
  for (const Unit& unit : units) {
    if (!unit.isValue) {
      out.Append(unit.c, false);
      if (unit.c == u'"') quoted = !quoted;
      continue;
    }
    const bool needsQuotes = !quoted && unit.value.find_first_of(u" \t") != std::u16string_view::npos;
    if (needsQuotes) out.Append(u'"', false);
    out.Append(unit.value, true);
    if (needsQuotes) out.Append(u'"', false);
  }
  return out;
}

// The first argument that is no "//" option names the script: never the
// page's. An argument that starts with a slash, once its quotes are gone, is the
// script hosts': "//B" or "//H:CScript" an option of the host itself,
// "/name:x" a named argument of the script, even after "--". The page may
// fill an argument, but never its first slash or the name after it; a
// first dash is any program's option (CheckOptions). The script hosts read
// the Unicode line only.
LineRefusal CheckScriptHost(const ArgumentPieces& pieces, const std::vector<TemplatePart>& parts) {
  if (AnyPageValueHolds(pieces, u"\"")) return LineRefusal::PageFormsOption;
  if (const LineRefusal refusal = CheckWhatRuns(ProgramKind::ScriptHost, parts);
      refusal != LineRefusal::None) {
    return refusal;
  }
  for (const TemplatePart& part : parts) {
    if (part.separator) continue;
    const MarkedText& written = part.written;
    std::size_t first = 0;
    while (first < written.text.size() && written.text[first] == u'"') ++first;
    if (first == written.text.size() || written.text[first] != u'/') continue;
    const bool pageNext = first + 1 < written.text.size() && written.page[first + 1];
    if (written.page[first] || pageNext) return LineRefusal::PageFormsOption;
  }
  const AnsiCodePage unicodeOnly;
  return CheckOptions(parts, Readings(unicodeOnly));
}

// --- cmd.exe, and the batch files it runs -------------------------------

// cmd.exe expands %…% and !…! even inside quotes, and a quote, caret or line
// break from the page would end the quoted part, escape or end the command.
// Vertical tabs and form feeds separate a batch file's arguments too,
// though cmd /? does not say so; a value has no use for them.
constexpr std::u16string_view kNeverForCmd = u"\"%!^\r\n\v\f";

bool IsBatchSeparator(char16_t c) { return kBatchSeparators.find(c) != std::u16string_view::npos; }

// The units written for cmd.exe: a page value stays as it is where cmd.exe
// reads it inside quotes, and is put in quotes of the host's own where it
// holds a separator or an operator outside them. Backslashes that end a
// value are doubled before a quote, so that the program the line reaches
// reads them as backslashes, not as an escaped quote. ignored marks the
// template quotes that cmd.exe's /c rule takes off.
MarkedText WriteForCmd(const std::vector<Unit>& units, const std::vector<bool>& ignored) {
  MarkedText out;
  bool quoted = false, escaped = false;
  const auto isQuoteNext = [&units](std::size_t i) {
    return i + 1 < units.size() && !units[i + 1].isValue && units[i + 1].c == u'"';
  };
  for (std::size_t i = 0; i < units.size(); ++i) {
    const Unit& unit = units[i];
    if (!unit.isValue) {
      out.Append(unit.c, false);
      if (escaped) {
        escaped = false;
      } else if (unit.c == u'^' && !quoted) {
        escaped = true;
      } else if (unit.c == u'"' && !ignored[i]) {
        quoted = !quoted;
      }
      continue;
    }
    // A page value holds no quote or caret (kNeverForCmd): it only ends an escape.
    escaped = false;
    bool needsQuotes = false;
    if (!quoted) {
      // An empty value between separators keeps its place as "", unless
      // nothing follows whose place it would take.
      const auto follows = [](const Unit& u) {
        return u.isValue ? !u.value.empty() : !IsBatchSeparator(u.c);
      };
      const bool alone =
          (out.text.empty() || IsBatchSeparator(out.text.back())) && i + 1 < units.size() &&
          !units[i + 1].isValue && IsBatchSeparator(units[i + 1].c) &&
          std::any_of(units.begin() + static_cast<std::ptrdiff_t>(i) + 1, units.end(), follows);
      needsQuotes = unit.value.find_first_of(kBatchSeparators) != std::u16string_view::npos ||
                    unit.value.find_first_of(kCmdOperators) != std::u16string_view::npos ||
                    (unit.value.empty() && alone);
    }
    if (needsQuotes) {
      // Backslashes of the template right before the opening quote would
      // escape it for the program the line reaches: doubled, they stay
      // backslashes.
      std::size_t before = 0;
      while (before < out.text.size() && out.text[out.text.size() - 1 - before] == u'\\') ++before;
      out.Append(std::u16string(before, u'\\'), false);
      out.Append(u'"', false);
    }
    out.Append(unit.value, true);
    std::size_t backslashes = 0;
    while (backslashes < unit.value.size() && unit.value[unit.value.size() - 1 - backslashes] == u'\\') {
      ++backslashes;
    }
    if (backslashes > 0 && (needsQuotes || isQuoteNext(i)))
      out.Append(std::u16string(backslashes, u'\\'), false);
    if (needsQuotes) out.Append(u'"', false);
  }
  return out;
}

// Every argument in quotes of its own, in a form every reading of the
// program behind gives back; all inside them counts as the page's, so that
// cmd.exe must find it all inside quotes.
std::optional<MarkedText> EachQuotedForCmd(const Arguments& intended, const Readings& readings) {
  MarkedText out;
  for (const std::u16string& argument : intended) {
    const std::optional<std::u16string> quoted = readings.Quote(argument);
    if (!quoted) return std::nullopt;
    if (!out.text.empty()) out.Append(u' ', false);
    for (const char16_t c : *quoted) out.Append(c, c != u'"');
  }
  return out;
}

// What the program a command starts makes of the page's text in the
// arguments after its name: the same arguments in every reading (else the
// page's text would be read as another argument), and no option the page
// begins. A batch file's line (batchLine) hands on values whose arguments
// were judged before: there only an option after a page blank counts.
LineRefusal ProgramTakesPageAsData(const MarkedText& command, const Readings& readings, bool batchLine) {
  const CmdWords words = SplitCmdName(command);
  if (!readings.Agree(words.arguments.text)) return LineRefusal::PageFormsOption;
  return CheckOptionsIn(words.arguments, readings, batchLine);
}

// cmd.exe's reading of the text after its name: no page character may act
// in it. For a batch file (its text given), nor in the second reading of
// the lines that use its arguments, where the program each line starts
// must read its arguments alike in every reading; for an item that runs
// cmd.exe itself, the program cmd.exe starts must.
LineRefusal CmdTakesLineAsData(const MarkedText& afterName, const std::u16string* batchFileText,
                               const Readings& readings) {
  const CmdCommands read = ReadCmdCommand(afterName);
  // Without /c, /k or /r cmd.exe runs nothing from its line.
  if (read.pageInSwitches) return LineRefusal::UnsafeForBatch;
  // The item's own batch file gets the page's arguments: its second
  // reading judges what they do. Any other batch file a line names runs
  // them as commands the host has not read.
  const ArgumentUseOf useOf = [batchFileText](std::u16string_view name) {
    if (batchFileText && KindOfProgramFile(name, u"", u"") == ProgramKind::Batch) return ArgumentUse::Data;
    return ArgumentUseOfProgram(name);
  };
  for (const MarkedText& command : read.commands) {
    if (!CmdTakesPageAsText(command, true)) return LineRefusal::UnsafeForBatch;
    if (!CmdRunsNoPageProgram(command, useOf)) return LineRefusal::PageNamesPath;
    if (!batchFileText) {
      if (const LineRefusal refusal = ProgramTakesPageAsData(command, readings, false);
          refusal != LineRefusal::None)
        return refusal;
      continue;
    }
    // Why a line's program would not take the values, when that was why the
    // second reading stopped; else cmd.exe itself would act on them.
    bool choosesProgram = false;
    LineRefusal lineRefusal = LineRefusal::None;
    const auto lineIsData = [&](const MarkedText& line) {
      lineRefusal = ProgramTakesPageAsData(line, readings, true);
      return lineRefusal == LineRefusal::None;
    };
    if (!BatchFileTakesPageAsText(*batchFileText, SplitCmdName(command).arguments, ArgumentUseOfProgram,
                                  &choosesProgram, lineIsData)) {
      if (choosesProgram) return LineRefusal::PageNamesPath;
      return lineRefusal != LineRefusal::None ? lineRefusal : LineRefusal::UnsafeForBatch;
    }
  }
  return LineRefusal::None;
}

// The template quotes cmd.exe's /c rule would take off the text as written:
// the first one after the switch, when the command starts with it, and the
// last one of the line. The page's values hold no quote (kNeverForCmd).
std::vector<bool> QuotesTheCommandRuleTakesOff(const std::vector<Unit>& units) {
  std::vector<bool> ignored(units.size(), false);
  // The text as written, and the unit each of its characters comes from.
  std::u16string text;
  std::vector<std::size_t> unitOf;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const std::u16string_view piece = units[i].isValue ? units[i].value : std::u16string_view(&units[i].c, 1);
    text += piece;
    unitOf.insert(unitOf.end(), piece.size(), i);
  }
  const CmdSwitches switches = FindCmdCommand(text);
  if (!switches.Found() || switches.commandStart >= text.size() || text[switches.commandStart] != u'"') {
    return ignored;
  }
  ignored[unitOf[switches.commandStart]] = true;
  const std::size_t last = text.rfind(u'"');
  if (last > switches.commandStart) ignored[unitOf[last]] = true;
  return ignored;
}

}  // namespace

ProgramKind KindOfProgramFile(std::u16string_view path, std::u16string_view productName,
                              std::u16string_view fileDescription) {
  // Windows takes the name without trailing dots and blanks, and the file's
  // data stream named or not.
  const auto trim = [&path]() {
    while (!path.empty() && (path.back() == u'.' || path.back() == u' ')) path.remove_suffix(1);
  };
  trim();
  constexpr std::u16string_view kDataStream = u"::$data";
  if (path.size() > kDataStream.size() &&
      LowerText(path.substr(path.size() - kDataStream.size())) == kDataStream) {
    path.remove_suffix(kDataStream.size());
    trim();
  }
  const std::size_t slash = path.find_last_of(u"\\/");
  std::u16string name = LowerText(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
  // A name without an extension is read as its .exe, as cmd.exe finds a
  // command's program (CreateProcessW starts nothing for it).
  if (name.find(u'.') == std::u16string::npos) name += u".exe";
  const auto endsWith = [&name](std::u16string_view lowerTail) {
    return name.size() >= lowerTail.size() &&
           name.compare(name.size() - lowerTail.size(), lowerTail.size(), lowerTail) == 0;
  };
  const auto is = [&name](std::u16string_view lowerName) { return name == lowerName; };
  // cmd.exe itself reads its line as it reads a batch file's: an item may
  // well run "cmd.exe" with "/c start "" "<TU>"".
  if (endsWith(u".bat") || endsWith(u".cmd")) return ProgramKind::Batch;
  if (is(u"cmd.exe")) return ProgramKind::Cmd;
  if (is(u"wscript.exe") || is(u"cscript.exe")) return ProgramKind::ScriptHost;
  if (is(u"explorer.exe") || is(u"rundll32.exe")) return ProgramKind::Opener;
  if (is(u"mshta.exe")) return ProgramKind::Hta;
  if (is(u"powershell.exe") || is(u"pwsh.exe")) return ProgramKind::PowerShell;
  if (fileDescription != u"" ORBISK_LAUNCHER_DESCRIPTION) return ProgramKind::Program;
  static constexpr struct {
    std::u16string_view name;
    ProgramKind kind;
  } kLaunchers[] = {
      {u"" ORBISK_JOTWELL_NAME, ProgramKind::Jotwell},
      {u"" ORBISK_FETCHBAY_NAME, ProgramKind::Fetchbay},
      {u"" ORBISK_PAGEWATCH_NAME, ProgramKind::Pagewatch},
      {u"" ORBISK_CLIPSY_NAME, ProgramKind::Clipsy},
  };
  for (const auto& launcher : kLaunchers) {
    if (productName == launcher.name) return launcher.kind;
  }
  return ProgramKind::Program;
}

ArgumentUse ArgumentUseOfProgram(std::u16string_view name) {
  return UseOfArguments(KindOfProgramFile(name, u"", u""));
}

bool IsOrbiskLauncher(ProgramKind kind) {
  return kind == ProgramKind::Jotwell || kind == ProgramKind::Fetchbay || kind == ProgramKind::Pagewatch ||
         kind == ProgramKind::Clipsy;
}

CommandLine BuildCommandLine(std::u16string_view application, ProgramKind kind, const ArgumentPieces& pieces,
                             const LineEnvironment& environment) {
  const std::u16string program = u"\"" + std::u16string(application) + u"\" ";
  // Quoting only adds, so a line whose parts alone are too long is refused
  // before anything is built from them.
  if (program.size() + pieces.TotalLength() >= kMaxCommandLine) return {{}, {}, LineRefusal::TooLong};
  if (AnyPageValueHolds(pieces, std::u16string_view(u"\0", 1))) return {{}, {}, LineRefusal::NulInPageText};

  CommandLine line;
  line.application = std::u16string(application);
  const Readings readings(environment.systemAnsi);
  const std::vector<Unit> units = UnitsOf(pieces);
  // Nothing from the page: the script's own line, whatever the template says.
  const bool fromPage = AnyPageValue(pieces);
  switch (kind) {
    case ProgramKind::Program:
    case ProgramKind::Opener:
    case ProgramKind::Hta:
    case ProgramKind::PowerShell: {
      const std::vector<TemplatePart> parts = SplitTemplate(units);
      if (!fromPage) {
        line.text = program + pieces.Joined();
        break;
      }
      line.refusal = CheckOptions(parts, readings);
      if (line.refusal == LineRefusal::None) line.refusal = CheckWhatRuns(kind, parts);
      if (line.refusal != LineRefusal::None) return line;
      const std::optional<std::u16string> arguments = ProgramArguments(parts, readings);
      if (!arguments) return {{}, {}, LineRefusal::PageFormsOption};
      line.text = program + *arguments;
      break;
    }
    case ProgramKind::ScriptHost: {
      line.refusal = CheckScriptHost(pieces, SplitTemplate(units));
      if (line.refusal != LineRefusal::None) return line;
      const MarkedText arguments = ScriptHostArguments(units);
      if (SplitScriptHostArguments(arguments, false) != SplitScriptHostArguments(Marked(units), true)) {
        return {{}, {}, LineRefusal::PageFormsOption};
      }
      line.text = program + arguments.text;
      break;
    }
    case ProgramKind::Batch:
    case ProgramKind::Cmd: {
      if (AnyPageValueHolds(pieces, kNeverForCmd)) return {{}, {}, LineRefusal::UnsafeForBatch};
      const std::vector<TemplatePart> parts = SplitTemplate(units);
      line.refusal = CheckOptions(parts, readings);
      if (line.refusal != LineRefusal::None) return line;
      if (kind == ProgramKind::Batch) {
        // Windows would start the file through cmd.exe with the line as it
        // is, and /c would take the first and last quote of it off. The
        // host starts cmd.exe itself, from the system folder, without
        // AutoRun commands, with its extensions fixed on and delayed
        // expansion off, and gives /c a pair of quotes of its own to take.
        const auto lineFor = [&program](const MarkedText& arguments) {
          MarkedText afterName;
          afterName.Append(u"/d /e:ON /v:OFF /c \"" + program, false);
          afterName.Append(arguments);
          afterName.Append(u'"', false);
          return afterName;
        };
        const Arguments intended = IntendedArguments(parts);
        std::optional<MarkedText> chosen;
        // The values where they stand first; then, when the program behind
        // the batch file would read that otherwise, every argument quoted.
        line.refusal = LineRefusal::UnsafeForBatch;
        for (const std::optional<MarkedText>& arguments :
             {std::optional<MarkedText>(WriteForCmd(units, std::vector<bool>(units.size(), false))),
              EachQuotedForCmd(intended, readings)}) {
          if (!arguments) continue;
          const MarkedText afterName = lineFor(*arguments);
          if (!fromPage) {
            chosen = afterName;
            break;
          }
          const LineRefusal refusal = CmdTakesLineAsData(afterName, &environment.batchFileText, readings);
          if (refusal != LineRefusal::None) {
            // The page choosing what runs is so however the values are quoted.
            if (refusal == LineRefusal::PageNamesPath) return {{}, {}, refusal};
            line.refusal = refusal;
            continue;
          }
          // What the batch file hands on with %* reaches a program that
          // splits it by the C runtime's rules.
          if (readings.Give(arguments->text, intended)) {
            chosen = afterName;
            break;
          }
          line.refusal = LineRefusal::PageFormsOption;
        }
        if (!chosen) return {{}, {}, line.refusal};
        line.refusal = LineRefusal::None;
        line.application = environment.systemCmd;
        line.text = u"cmd.exe " + chosen->text;
        break;
      }
      // cmd.exe named by the item: its /c rule may or may not take quotes
      // off the template's command, depending on what the host adds.
      std::optional<MarkedText> safe;
      bool allChoose = true, anyOption = false;
      // The quotes as /c leaves them first: where the template's command
      // starts with a quote, cmd.exe takes it and the last one off, and a
      // page value between the quotes of the template as written may stand
      // outside quotes for it. Nothing in an empty value would show that.
      for (const std::vector<bool>& ignored :
           {QuotesTheCommandRuleTakesOff(units), std::vector<bool>(units.size(), false)}) {
        const MarkedText arguments = WriteForCmd(units, ignored);
        const LineRefusal why =
            fromPage ? CmdTakesLineAsData(arguments, nullptr, readings) : LineRefusal::None;
        if (why == LineRefusal::None) {
          safe = arguments;
          break;
        }
        // Refused for the page's choice of what runs only when no way of
        // writing the line would have done without it.
        if (why != LineRefusal::PageNamesPath) allChoose = false;
        if (why == LineRefusal::PageFormsOption) anyOption = true;
      }
      if (!safe) {
        return {{},
                {},
                allChoose   ? LineRefusal::PageNamesPath
                : anyOption ? LineRefusal::PageFormsOption
                            : LineRefusal::UnsafeForBatch};
      }
      line.text = program + safe->text;
      break;
    }
    case ProgramKind::Jotwell:
    case ProgramKind::Fetchbay:
    case ProgramKind::Pagewatch:
    case ProgramKind::Clipsy: {
      const MarkedText arguments = Marked(units);
      line.refusal = CheckLauncherLine(kind, arguments);
      if (line.refusal != LineRefusal::None) return line;
      line.text = program + arguments.text;
      break;
    }
  }
  if (line.text.size() >= kMaxCommandLine) return {{}, {}, LineRefusal::TooLong};
  // cmd.exe would start nothing, and the pick would seem to have worked.
  const bool readByCmd = kind == ProgramKind::Batch || kind == ProgramKind::Cmd;
  if (readByCmd && line.text.size() > kMaxCmdLine) return {{}, {}, LineRefusal::TooLong};
  return line;
}
