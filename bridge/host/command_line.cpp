#include "bridge/host/command_line.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "bridge/host/launcher_lines.h"
#include "bridge/host/marked_text.h"
#include "bridge/host/windows_arguments.h"
#include "common/product.h"

namespace {

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

bool AnyPageValueHolds(const ArgumentPieces& pieces, std::u16string_view characters) {
  for (const ArgumentPieces::Piece& piece : pieces.pieces) {
    if (pieces.FromPage(piece) && pieces.Text(piece).find_first_of(characters) != std::u16string_view::npos) {
      return true;
    }
  }
  return false;
}

// --- Programs: the rules of CommandLineToArgvW and the C runtime ---------

// One argument of the template, or the blanks between two.
struct TemplatePart {
  bool separator = false;
  MarkedText written;       // as the template writes it, the page's values put in as they are
  std::u16string intended;  // what the program must receive
  bool hasPageValue = false;
  bool pageValueOutsideQuotes = false;
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
    } else {
      const bool inArgument = reader.Read(unit.c);
      partFor(!inArgument).written.Append(unit.c, false);
    }
  }
  // The reader's arguments are the template's parts that are no blanks, in order.
  std::vector<std::u16string> arguments = reader.Finish();
  std::size_t next = 0;
  for (TemplatePart& part : parts) {
    if (!part.separator) part.intended = std::move(arguments[next++]);
  }
  return parts;
}

// True when text, standing alone between blanks, is read back as exactly
// this one argument and leaves no quoted part open for what follows.
bool ReadsBackAs(std::u16string_view text, const std::u16string& argument, bool last) {
  bool open = false;
  const std::vector<std::u16string> read = SplitArguments(text, &open);
  return read.size() == 1 && read[0] == argument && (!open || last);
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

std::u16string ArgumentFor(const TemplatePart& part, bool last) {
  if (!part.hasPageValue) return part.written.text;
  // A page value may hold no quote of its own in the text as written: the C
  // runtimes do not all read quotes in a row alike.
  bool pageQuote = false;
  for (std::size_t i = 0; i < part.written.text.size(); ++i) {
    if (part.written.page[i] && part.written.text[i] == u'"') pageQuote = true;
  }
  if (!pageQuote && ReadsBackAs(part.written.text, part.intended, last)) return part.written.text;
  if (!part.pageValueOutsideQuotes) {
    const std::u16string escaped = EscapedInPlace(part.written);
    if (ReadsBackAs(escaped, part.intended, last)) return escaped;
  }
  return QuoteArgument(part.intended);
}

// The arguments of the template's parts (see SplitTemplate).
std::u16string ProgramArguments(std::vector<TemplatePart> parts) {
  // Empty values at the end move no other argument: there the line stays
  // the script's, without them.
  for (std::size_t i = parts.size(); i-- > 0 && (parts[i].separator || parts[i].written.text.empty());) {
    parts[i].hasPageValue = false;
    parts[i].separator = true;
  }
  std::vector<std::u16string> intended;
  std::size_t lastArgument = parts.size();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (!parts[i].separator) {
      intended.push_back(parts[i].intended);
      lastArgument = i;
    }
  }
  std::u16string arguments;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    arguments += parts[i].separator ? parts[i].written.text : ArgumentFor(parts[i], i == lastArgument);
  }
  if (SplitArguments(arguments) == intended) return arguments;
  // The template's own text misled the parts above (it cannot be read alone
  // the way it is read in the whole): every argument quoted then.
  arguments.clear();
  for (const std::u16string& argument : intended) {
    if (!arguments.empty()) arguments += u' ';
    arguments += QuoteArgument(argument);
  }
  return arguments;
}

// --- The script hosts: wscript and cscript ------------------------------

// They split the line by rules of their own. A quote only opens or closes a
// quoted part: there is no escaped quote, so a page quote would end its
// argument. An argument that starts with a slash, once its quotes are gone,
// is theirs: "//B" or "//H:CScript" an option of the host itself, "/name:x"
// a named argument of the script. The page may fill an argument, but never
// its first slash or the name after it.
LineRefusal CheckScriptHost(const ArgumentPieces& pieces, const std::vector<TemplatePart>& parts) {
  if (AnyPageValueHolds(pieces, u"\"")) return LineRefusal::PageFormsOption;
  for (const TemplatePart& part : parts) {
    if (part.separator) continue;
    const MarkedText& written = part.written;
    std::size_t first = 0;
    while (first < written.text.size() && written.text[first] == u'"') ++first;
    if (first == written.text.size() || written.text[first] != u'/') continue;
    const bool pageNext = first + 1 < written.text.size() && written.page[first + 1];
    if (written.page[first] || pageNext) return LineRefusal::PageFormsOption;
  }
  return LineRefusal::None;
}

// --- Batch files: cmd.exe reads the line first --------------------------

// cmd.exe expands %…% and !…! even inside quotes, and a quote or a line
// break from the page would end the quoted part or the command.
constexpr std::u16string_view kNeverInBatch = u"\"%!^\r\n";
// Operators, and the separators of a batch file's %1 … %9: inside quotes
// they are plain text.
constexpr std::u16string_view kQuotedInBatch = u" \t,;=&|<>()\v\f";

bool IsBatchSeparator(char16_t c) { return c == u' ' || c == u'\t' || c == u',' || c == u';' || c == u'='; }

// How cmd.exe reads a line's quotes, and its escape character ^ outside
// them.
struct CmdReading {
  bool quoted = false;
  bool escaped = false;  // the next character is taken literally

  void Read(char16_t c) {
    if (escaped) {
      escaped = false;
    } else if (c == u'^' && !quoted) {
      escaped = true;
    } else if (c == u'"') {
      quoted = !quoted;
    }
  }
};

MarkedText BatchArguments(const std::vector<Unit>& units) {
  MarkedText out;
  CmdReading cmd;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const Unit& unit = units[i];
    if (!unit.isValue) {
      out.Append(unit.c, false);
      cmd.Read(unit.c);
      continue;
    }
    // A page value holds no quote or ^ (kNeverInBatch): it only ends an escape.
    cmd.escaped = false;
    if (cmd.quoted) {
      out.Append(unit.value, true);
      continue;
    }
    // An empty value between separators keeps its place as "", unless
    // nothing follows whose place it would take.
    const auto follows = [](const Unit& u) { return u.isValue ? !u.value.empty() : !IsBatchSeparator(u.c); };
    const bool alone = (out.text.empty() || IsBatchSeparator(out.text.back())) && i + 1 < units.size() &&
                       !units[i + 1].isValue && IsBatchSeparator(units[i + 1].c) &&
                       std::any_of(units.begin() + static_cast<std::ptrdiff_t>(i) + 1, units.end(), follows);
    const bool needsQuotes = unit.value.find_first_of(kQuotedInBatch) != std::u16string_view::npos ||
                             (unit.value.empty() && alone);
    if (needsQuotes) out.Append(u'"', false);
    out.Append(unit.value, true);
    if (needsQuotes) out.Append(u'"', false);
  }
  return out;
}

// True when cmd.exe, reading the whole line, finds every operator and
// separator the page gave inside quotes, and no page text between two of the
// template's percent signs or exclamation marks, where it would name a
// variable.
bool PageTextQuotedForCmd(const MarkedText& line) {
  CmdReading cmd;
  bool inPercent = false, inExclamation = false;
  for (std::size_t i = 0; i < line.text.size(); ++i) {
    const char16_t c = line.text[i];
    if (line.page[i]) {
      if ((cmd.escaped || !cmd.quoted) && kQuotedInBatch.find(c) != std::u16string_view::npos) return false;
      if (inPercent || inExclamation) return false;
    } else if (c == u'%') {
      inPercent = !inPercent;
    } else if (c == u'!') {
      inExclamation = !inExclamation;
    }
    cmd.Read(c);
  }
  return true;
}

}  // namespace

ProgramKind KindOfProgramFile(std::u16string_view path, std::u16string_view productName,
                              std::u16string_view fileDescription) {
  while (!path.empty() && (path.back() == u'.' || path.back() == u' ')) path.remove_suffix(1);
  const std::size_t slash = path.find_last_of(u"\\/");
  const std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
  const auto endsWith = [name](std::u16string_view lowerTail) {
    if (name.size() < lowerTail.size()) return false;
    const std::u16string_view tail = name.substr(name.size() - lowerTail.size());
    return std::equal(tail.begin(), tail.end(), lowerTail.begin(), [](char16_t a, char16_t b) {
      return (a >= u'A' && a <= u'Z' ? a + (u'a' - u'A') : a) == b;
    });
  };
  const auto is = [&](std::u16string_view lowerName) {
    return name.size() == lowerName.size() && endsWith(lowerName);
  };
  // cmd.exe itself reads its line as it reads a batch file's: an item may
  // well run "cmd.exe" with "/c start "" "<TU>"".
  if (endsWith(u".bat") || endsWith(u".cmd") || is(u"cmd.exe")) return ProgramKind::Batch;
  if (is(u"wscript.exe") || is(u"cscript.exe")) return ProgramKind::ScriptHost;
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

bool IsOrbiskLauncher(ProgramKind kind) {
  return kind == ProgramKind::Jotwell || kind == ProgramKind::Fetchbay || kind == ProgramKind::Pagewatch ||
         kind == ProgramKind::Clipsy;
}

CommandLine BuildCommandLine(std::u16string_view application, ProgramKind kind,
                             const ArgumentPieces& pieces) {
  const std::u16string program = u"\"" + std::u16string(application) + u"\" ";
  // Quoting only adds, so a line whose parts alone are too long is refused
  // before anything is built from them.
  if (program.size() + pieces.TotalLength() >= kMaxCommandLine) return {{}, LineRefusal::TooLong};
  if (AnyPageValueHolds(pieces, std::u16string_view(u"\0", 1))) return {{}, LineRefusal::NulInPageText};

  CommandLine line;
  switch (kind) {
    case ProgramKind::Program:
    case ProgramKind::ScriptHost: {
      std::vector<TemplatePart> parts = SplitTemplate(UnitsOf(pieces));
      if (kind == ProgramKind::ScriptHost) {
        line.refusal = CheckScriptHost(pieces, parts);
        if (line.refusal != LineRefusal::None) return line;
      }
      line.text = program + ProgramArguments(std::move(parts));
      break;
    }
    case ProgramKind::Batch: {
      if (AnyPageValueHolds(pieces, kNeverInBatch)) return {{}, LineRefusal::UnsafeForBatch};
      MarkedText whole;
      whole.Append(program, false);
      whole.Append(BatchArguments(UnitsOf(pieces)));
      if (!PageTextQuotedForCmd(whole)) return {{}, LineRefusal::UnsafeForBatch};
      line.text = std::move(whole.text);
      break;
    }
    case ProgramKind::Jotwell:
    case ProgramKind::Fetchbay:
    case ProgramKind::Pagewatch:
    case ProgramKind::Clipsy: {
      MarkedText arguments;
      for (const ArgumentPieces::Piece& piece : pieces.pieces)
        arguments.Append(pieces.Text(piece), pieces.FromPage(piece));
      line.refusal = CheckLauncherLine(kind, arguments);
      if (line.refusal != LineRefusal::None) return line;
      line.text = program + arguments.text;
      break;
    }
  }
  if (line.text.size() >= kMaxCommandLine) return {{}, LineRefusal::TooLong};
  return line;
}
