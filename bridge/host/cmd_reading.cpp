#include "bridge/host/cmd_reading.h"

#include <algorithm>
#include <map>

namespace {

bool IsOneOf(char16_t c, std::u16string_view set) { return set.find(c) != std::u16string_view::npos; }

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

// The text with the characters at the given positions left out.
MarkedText Without(const MarkedText& text, std::size_t from, const std::vector<std::size_t>& removed) {
  MarkedText out;
  for (std::size_t i = from; i < text.text.size(); ++i) {
    if (std::find(removed.begin(), removed.end(), i) == removed.end()) out.Append(text.text[i], text.page[i]);
  }
  return out;
}

bool ContainsWordNoCase(std::u16string_view text, std::u16string_view lowerWord) {
  const auto isWordChar = [](char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
  };
  for (std::size_t i = 0; i + lowerWord.size() <= text.size(); ++i) {
    bool same = true;
    for (std::size_t k = 0; k < lowerWord.size() && same; ++k) same = Lower(text[i + k]) == lowerWord[k];
    if (!same) continue;
    const bool before = i == 0 || !isWordChar(text[i - 1]);
    const bool after = i + lowerWord.size() == text.size() || !isWordChar(text[i + lowerWord.size()]);
    if (before && after) return true;
  }
  return false;
}

// The argument with its enclosing quotes removed, as %~1 gives it.
MarkedText Unquoted(const MarkedText& argument) {
  MarkedText out = argument;
  if (!out.text.empty() && out.text.front() == u'"') {
    out.text.erase(0, 1);
    out.page.erase(out.page.begin());
    if (!out.text.empty() && out.text.back() == u'"') {
      out.text.pop_back();
      out.page.pop_back();
    }
  }
  return out;
}

}  // namespace

std::u16string LowerText(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& c : lower) c = Lower(c);
  return lower;
}

namespace {

// Variables the batch file sets from its arguments, by lower-case name: each
// value the page may have given them.
using PageVariables = std::map<std::u16string, std::vector<MarkedText>>;

// The value variant of a variable: the last one when there are fewer.
const MarkedText& Variant(const std::vector<MarkedText>& values, std::size_t variant) {
  return values[std::min(variant, values.size() - 1)];
}

// The length of a reference to a page variable at line[i] (%name%,
// %name:~1,2%, !name!), 0 when there is none; its values in *values.
// *part is set for a substring or replacement (%name:…%), which may take
// the value's quotes off.
std::size_t PageVariableAt(std::u16string_view line, std::size_t i, const PageVariables& variables,
                           const std::vector<MarkedText>** values, bool* part) {
  const char16_t sign = line[i];
  if ((sign != u'%' && sign != u'!') || variables.empty()) return 0;
  const std::size_t close = line.find(sign, i + 1);
  if (close == std::u16string_view::npos) return 0;
  std::u16string_view name = line.substr(i + 1, close - i - 1);
  *part = name.find(u':') != std::u16string_view::npos;
  name = name.substr(0, name.find(u':'));
  const auto found = variables.find(LowerText(name));
  if (found == variables.end()) return 0;
  *values = &found->second;
  return close - i + 1;
}

MarkedText WithoutQuotes(const MarkedText& text) {
  MarkedText out;
  for (std::size_t i = 0; i < text.text.size(); ++i) {
    if (text.text[i] != u'"') out.Append(text.text[i], text.page[i]);
  }
  return out;
}

// The line with every argument reference put in; shift moves %1 … %9 on by
// that many arguments, as SHIFT would. A reference to a variable the file
// set from its arguments gets its value too (the variant-th one).
MarkedText PutArgumentsIn(std::u16string_view line, const std::vector<MarkedText>& arguments,
                          const MarkedText& all, std::size_t shift, const PageVariables& variables,
                          std::size_t variant, bool* usesArguments) {
  MarkedText out;
  const auto argument = [&](std::size_t n) {
    const std::size_t index = n - 1 + shift;
    return index < arguments.size() ? arguments[index] : MarkedText();
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    const std::vector<MarkedText>* values = nullptr;
    bool part = false;
    if (const std::size_t length = PageVariableAt(line, i, variables, &values, &part)) {
      out.Append(part ? WithoutQuotes(Variant(*values, variant)) : Variant(*values, variant));
      *usesArguments = true;
      i += length - 1;
      continue;
    }
    if (line[i] != u'%' || i + 1 >= line.size()) {
      out.Append(line[i], false);
      continue;
    }
    const char16_t next = line[i + 1];
    if (next == u'%') {  // an escaped percent sign: stays one
      out.Append(u"%%", false);
      ++i;
    } else if (next == u'*') {
      out.Append(all);
      *usesArguments = true;
      ++i;
    } else if (next >= u'0' && next <= u'9') {
      // %0 is the batch file's own name, the template's.
      if (next == u'0') {
        out.Append(u'0', false);
      } else {
        out.Append(argument(next - u'0'));
        *usesArguments = true;
      }
      ++i;
    } else if (next == u'~') {
      // %~[fdpnxsatz]…[$name:]N: the argument without its quotes, or a path
      // made of it; the page's characters stay in it either way.
      std::size_t k = i + 2;
      while (k < line.size() && IsOneOf(Lower(line[k]), u"fdpnxsatz")) ++k;
      if (k < line.size() && line[k] == u'$') {
        const std::size_t colon = line.find(u':', k);
        k = colon == std::u16string_view::npos ? line.size() : colon + 1;
      }
      if (k < line.size() && line[k] >= u'0' && line[k] <= u'9') {
        if (line[k] == u'0') {
          out.Append(u'0', false);
        } else {
          out.Append(Unquoted(argument(line[k] - u'0')));
          *usesArguments = true;
        }
        i = k;
      } else {
        out.Append(line[i], false);
      }
    } else {
      out.Append(line[i], false);
    }
  }
  return out;
}

// The name and value a SET line assigns, from the line as read with the
// arguments in: "set name=value" or "set "name=value"" (value up to the
// last quote); false for any other line.
bool ReadAssignment(const MarkedText& line, std::u16string* name, MarkedText* value) {
  std::size_t i = 0;
  const std::u16string& t = line.text;
  while (i < t.size() && (t[i] == u' ' || t[i] == u'\t' || t[i] == u'@')) ++i;
  if (LowerText(std::u16string_view(t).substr(i, 4)) != u"set ") return false;
  i += 4;
  while (i < t.size() && t[i] == u' ') ++i;
  // SET /A and /P: their values are still the page's.
  while (i + 1 < t.size() && t[i] == u'/') {
    i += 2;
    while (i < t.size() && t[i] == u' ') ++i;
  }
  std::size_t end = t.size();
  if (i < t.size() && t[i] == u'"') {
    ++i;
    const std::size_t last = t.rfind(u'"');
    if (last > i) end = last;
  }
  const std::size_t equals = t.find(u'=', i);
  if (equals == std::u16string::npos || equals >= end || equals == i) return false;
  *name = LowerText(std::u16string_view(t).substr(i, equals - i));
  value->text.clear();
  value->page.clear();
  for (std::size_t k = equals + 1; k < end; ++k) value->Append(t[k], line.page[k]);
  return true;
}

// Each line of the file, without its line break.
std::vector<std::u16string_view> LinesOf(std::u16string_view fileText) {
  std::vector<std::u16string_view> lines;
  std::size_t start = 0;
  while (start <= fileText.size()) {
    std::size_t end = fileText.find(u'\n', start);
    if (end == std::u16string_view::npos) end = fileText.size();
    std::u16string_view line = fileText.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

CmdSwitches FindCmdCommand(std::u16string_view afterName) {
  CmdSwitches found;
  for (std::size_t i = 0; i < afterName.size();) {
    if (afterName[i] == u'/' && i + 1 < afterName.size()) {
      const char16_t letter = Lower(afterName[i + 1]);
      if (letter == u'c' || letter == u'k' || letter == u'r') {
        found.switchEnd = i + 2;
        found.commandStart = found.switchEnd;
        while (found.commandStart < afterName.size() &&
               (afterName[found.commandStart] == u' ' || afterName[found.commandStart] == u'\t')) {
          ++found.commandStart;
        }
        return found;
      }
      if (letter == u's') found.s = true;
      i += 2;
      continue;
    }
    ++i;
  }
  return found;
}

CmdCommands ReadCmdCommand(const MarkedText& afterName) {
  const std::u16string& t = afterName.text;
  CmdCommands out;
  const CmdSwitches switches = FindCmdCommand(t);
  out.pageInSwitches = afterName.AnyPage(0, switches.Found() ? switches.switchEnd : t.size());
  if (!switches.Found()) return out;
  const bool s = switches.s;
  const std::size_t start = switches.commandStart;

  std::vector<std::size_t> quotes;
  for (std::size_t i = start; i < t.size(); ++i) {
    if (t[i] == u'"') quotes.push_back(i);
  }
  bool keepPossible = !s && quotes.size() == 2;
  if (keepPossible) {
    const std::u16string_view between =
        std::u16string_view(t).substr(quotes[0] + 1, quotes[1] - quotes[0] - 1);
    keepPossible = between.find_first_of(u"&<>()@^|") == std::u16string_view::npos &&
                   between.find_first_of(u" \t") != std::u16string_view::npos;
  }
  const bool startsWithQuote = start < t.size() && t[start] == u'"';
  const MarkedText asWritten = Without(afterName, start, {});
  const MarkedText stripped = startsWithQuote ? Without(afterName, start, {start, quotes.back()}) : asWritten;
  // Whether the text between the two quotes names an executable file is the
  // disk's to say: both readings must be safe then.
  if (keepPossible) out.commands.push_back(asWritten);
  if (!keepPossible || startsWithQuote) out.commands.push_back(stripped);
  return out;
}

bool CmdTakesPageAsText(const MarkedText& command, bool separatorsToo) {
  bool quoted = false, escaped = false, inPercent = false, inExclamation = false;
  for (std::size_t i = 0; i < command.text.size(); ++i) {
    const char16_t c = command.text[i];
    if (command.page[i]) {
      if (IsOneOf(c, u"\"%!^\r\n")) return false;
      if (inPercent || inExclamation) return false;
      const bool acts = IsOneOf(c, kCmdOperators) || (separatorsToo && IsOneOf(c, kBatchSeparators));
      if (acts && (!quoted || escaped)) return false;
      escaped = false;
      continue;
    }
    if (escaped) {
      escaped = false;
    } else if (c == u'%') {
      inPercent = !inPercent;
    } else if (c == u'!') {
      inExclamation = !inExclamation;
    } else if (c == u'^' && !quoted) {
      escaped = true;
    } else if (c == u'"') {
      quoted = !quoted;
    }
  }
  return true;
}

CmdWords SplitCmdName(const MarkedText& command) {
  std::size_t i = 0;
  while (i < command.text.size() && IsOneOf(command.text[i], kBatchSeparators)) ++i;
  CmdWords words;
  bool quoted = false;
  for (; i < command.text.size(); ++i) {
    const char16_t c = command.text[i];
    if (!quoted && (IsOneOf(c, kBatchSeparators) || IsOneOf(c, kCmdOperators))) break;
    if (c == u'"') quoted = !quoted;
    words.name.Append(c, command.page[i]);
  }
  for (; i < command.text.size(); ++i) words.arguments.Append(command.text[i], command.page[i]);
  return words;
}

std::vector<MarkedText> SplitBatchArguments(const MarkedText& arguments) {
  std::vector<MarkedText> out;
  bool quoted = false, inArgument = false;
  for (std::size_t i = 0; i < arguments.text.size(); ++i) {
    const char16_t c = arguments.text[i];
    if (!quoted && IsOneOf(c, kBatchSeparators)) {
      inArgument = false;
      continue;
    }
    if (!inArgument) out.emplace_back();
    inArgument = true;
    if (c == u'"') quoted = !quoted;
    out.back().Append(c, arguments.page[i]);
  }
  return out;
}

bool BatchFileTakesPageAsText(std::u16string_view fileText, const MarkedText& arguments,
                              const ArgumentUseOf& useOf, bool* choosesProgram, const LineJudge& lineIsData) {
  const std::vector<MarkedText> split = SplitBatchArguments(arguments);
  std::size_t first = 0;
  while (first < arguments.text.size() && IsOneOf(arguments.text[first], kBatchSeparators)) ++first;
  MarkedText all;
  for (std::size_t i = first; i < arguments.text.size(); ++i)
    all.Append(arguments.text[i], arguments.page[i]);
  const std::size_t shifts = ContainsWordNoCase(fileText, u"shift") ? split.size() : 0;
  const std::vector<std::u16string_view> lines = LinesOf(fileText);
  // The lines that set variables from the arguments first, twice over, so
  // that a variable set from another one is known too; a GOTO may run any
  // line before any other.
  PageVariables variables;
  for (int round = 0; round < 2; ++round) {
    PageVariables found;
    for (const std::u16string_view line : lines) {
      for (std::size_t shift = 0; shift <= shifts; ++shift) {
        bool usesArguments = false;
        const MarkedText read = PutArgumentsIn(line, split, all, shift, variables, 0, &usesArguments);
        std::u16string name;
        MarkedText value;
        if (usesArguments && ReadAssignment(read, &name, &value)) found[name].push_back(value);
      }
    }
    variables = std::move(found);
  }
  std::size_t variants = 1;
  for (const auto& variable : variables) variants = std::max(variants, variable.second.size());
  for (const std::u16string_view line : lines) {
    for (std::size_t shift = 0; shift <= shifts; ++shift) {
      for (std::size_t variant = 0; variant < variants; ++variant) {
        bool usesArguments = false;
        const MarkedText read = PutArgumentsIn(line, split, all, shift, variables, variant, &usesArguments);
        if (!usesArguments) break;
        if (!CmdTakesPageAsText(read, false)) return false;
        if (!CmdRunsNoPageProgram(read, useOf)) {
          if (choosesProgram) *choosesProgram = true;
          return false;
        }
        if (lineIsData && !lineIsData(read)) return false;
      }
    }
  }
  return true;
}

namespace {

// The first of a program's arguments from which on they are data, by its
// use; npos when none is.
std::size_t FirstDataArgument(ArgumentUse use, const std::vector<std::u16string>& arguments,
                              const std::vector<bool>& fromPage) {
  switch (use) {
    case ArgumentUse::Data:
    case ArgumentUse::Opens:
      return 0;
    case ArgumentUse::Runs:
      return std::u16string::npos;
    case ArgumentUse::RunsFirst:
      for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (!fromPage[i] && arguments[i].substr(0, 2) == u"//") continue;
        // mshta.exe takes all the rest of its line for an inline script's
        // address (vbscript:, javascript:, about:), blanks and all.
        const std::u16string lower = LowerText(std::u16string_view(arguments[i]).substr(0, 11));
        for (const std::u16string_view scheme : {u"vbscript:", u"javascript:", u"about:"}) {
          if (lower.rfind(scheme, 0) == 0) return std::u16string::npos;
        }
        return i + 1;
      }
      return std::u16string::npos;
    case ArgumentUse::RunsUnlessFile:
      for (std::size_t i = 0; i < arguments.size() && !fromPage[i]; ++i) {
        // -Command, -EncodedCommand, -CommandWithArgs (or shorter forms)
        // make the rest code; -File names the script.
        const std::u16string& argument = arguments[i];
        if (argument.size() < 2 || (argument[0] != u'-' && argument[0] != u'/')) continue;
        const std::u16string name = LowerText(std::u16string_view(argument).substr(1));
        const auto abbreviates = [&name](std::u16string_view full) {
          return full.substr(0, name.size()) == name;
        };
        if (abbreviates(u"file")) return i + 2;
        if (abbreviates(u"command") || name == u"e" || name == u"ec" ||
            (name.size() >= 2 && abbreviates(u"encodedcommand")) || name == u"cwa" ||
            (name.size() > 7 && abbreviates(u"commandwithargs"))) {
          break;
        }
      }
      return std::u16string::npos;
  }
  return std::u16string::npos;
}

// A web address that the user's browser opens: http:// or https://, in any
// case of letters.
bool IsWebAddress(std::u16string_view text) {
  const std::u16string lower = LowerText(text.substr(0, 8));
  return lower.rfind(u"http://", 0) == 0 || lower.rfind(u"https://", 0) == 0;
}

}  // namespace

PageArguments WhatPageArgumentsAre(ArgumentUse use, const std::vector<std::u16string>& arguments,
                                   const std::vector<bool>& fromPage) {
  const std::size_t dataFrom = FirstDataArgument(use, arguments, fromPage);
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (!fromPage[i]) continue;
    // An empty argument opens nothing the page chose. explorer.exe splits
    // its line at commas into its switches and the objects it opens.
    if (use == ArgumentUse::Opens && !arguments[i].empty() &&
        (!IsWebAddress(arguments[i]) || arguments[i].find(u',') != std::u16string::npos)) {
      return PageArguments::NameWhatRuns;
    }
    if (i >= dataFrom) continue;
    // What runs is named by the argument before the data (a script, an
    // application), or the page's text would be code itself.
    const bool names =
        use == ArgumentUse::RunsFirst || (dataFrom != std::u16string::npos && i + 1 == dataFrom);
    return names ? PageArguments::NameWhatRuns : PageArguments::AreCode;
  }
  return PageArguments::Data;
}

namespace {

using CmdWordList = std::vector<MarkedText>;

// The commands of a text cmd.exe runs, each as its words: separated by
// blanks, tabs, commas, semicolons and equals signs outside quotes, their
// quotes kept, a caret's escape taken off. The template's & and | outside
// quotes end a command, its parentheses only a word (a block's first
// command is read; IF's commands are found after its condition and its
// ELSE); the word after its < or > is the file of a redirection, which only
// *pageRedirect tells of.
std::vector<CmdWordList> CommandsOf(const MarkedText& command, bool* pageRedirect) {
  std::vector<CmdWordList> commands(1);
  MarkedText word;
  bool quoted = false, escaped = false, redirect = false;
  const auto endWord = [&]() {
    if (word.text.empty()) return;
    if (redirect) {
      *pageRedirect |= word.AnyPage();
      redirect = false;
    } else {
      commands.back().push_back(word);
    }
    word = MarkedText();
  };
  for (std::size_t i = 0; i < command.text.size(); ++i) {
    const char16_t c = command.text[i];
    const bool page = command.page[i];
    if (escaped) {
      escaped = false;
      word.Append(c, page);
      continue;
    }
    if (c == u'"') {
      quoted = !quoted;
      word.Append(c, page);
      continue;
    }
    if (!quoted && !page && c == u'^') {
      escaped = true;
      continue;
    }
    if (!quoted && !page && (c == u'<' || c == u'>')) {
      endWord();
      redirect = true;
      continue;
    }
    // ">&1" duplicates a handle: no command ends there.
    if (!quoted && !page && c == u'&' && redirect && word.text.empty()) continue;
    if (!quoted && !page && IsOneOf(c, u"&|")) {
      endWord();
      redirect = false;
      if (!commands.back().empty()) commands.emplace_back();
      continue;
    }
    if (!quoted && !page && IsOneOf(c, u"()")) {
      endWord();
      continue;
    }
    if (!quoted && IsOneOf(c, kBatchSeparators)) {
      endWord();
      continue;
    }
    word.Append(c, page);
  }
  endWord();
  // A redirection with no file after it is cmd.exe's syntax error.
  return commands;
}

bool RunsNoPageProgram(const CmdWordList& words, std::size_t from, const ArgumentUseOf& useOf);

// True when the page wrote any of the words from `from` up to `to`.
bool AnyPageIn(const CmdWordList& words, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to && i < words.size(); ++i) {
    if (words[i].AnyPage()) return true;
  }
  return false;
}

// The word at i in lower case when it is wholly the template's, as cmd.exe
// matches its keywords; empty when it is the page's or there is none.
std::u16string Keyword(const CmdWordList& words, std::size_t i) {
  return i < words.size() && !words[i].AnyPage() ? LowerText(words[i].text) : std::u16string();
}

// True when a page character of the word stands outside its quotes.
bool PageOutsideQuotes(const MarkedText& word) {
  bool quoted = false;
  for (std::size_t i = 0; i < word.text.size(); ++i) {
    if (word.text[i] == u'"') {
      quoted = !quoted;
    } else if (word.page[i] && !quoted) {
      return true;
    }
  }
  return false;
}

// IF [/I] [NOT] <condition> <command> [ELSE <command>], from the word after
// IF: the condition is EXIST, DEFINED, ERRORLEVEL or CMDEXTVERSION and one
// word, two strings compared with == (which falls away as separators), or
// three words with EQU, NEQ, LSS, LEQ, GTR or GEQ between. Page text outside
// quotes in the condition may bring a separator that moves where the
// command starts; each command after it, and after every ELSE, is read as
// any command is.
bool IfRunsNoPageProgram(const CmdWordList& words, std::size_t next, const ArgumentUseOf& useOf) {
  if (Keyword(words, next) == u"/i") ++next;
  if (Keyword(words, next) == u"not") ++next;
  std::size_t conditionWords = 2;
  const std::u16string first = Keyword(words, next), second = Keyword(words, next + 1);
  if (first != u"exist" && first != u"defined" && first != u"errorlevel" && first != u"cmdextversion") {
    for (const std::u16string_view comparison : {u"equ", u"neq", u"lss", u"leq", u"gtr", u"geq"}) {
      if (second == comparison) conditionWords = 3;
    }
  }
  const std::size_t command = std::min(next + conditionWords, words.size());
  for (std::size_t i = next; i < command; ++i) {
    if (PageOutsideQuotes(words[i])) return false;
  }
  CmdWordList part;
  for (std::size_t i = command; i <= words.size(); ++i) {
    if (i < words.size() && Keyword(words, i) != u"else") {
      part.push_back(words[i]);
      continue;
    }
    if (!RunsNoPageProgram(part, 0, useOf)) return false;
    part.clear();
  }
  return true;
}

// True when the word holds a reference to the FOR variable named letter:
// %%a (%a on a command line), or with modifiers, %%~nxa.
bool NamesForVariable(std::u16string_view word, char16_t letter) {
  const auto isLetter = [](char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
  for (std::size_t i = word.find(u'%'); i != std::u16string_view::npos; i = word.find(u'%', i + 1)) {
    std::size_t at = i + 1;
    if (at < word.size() && word[at] == u'%') ++at;
    if (at < word.size() && word[at] == u'~') {
      ++at;
      while (at + 1 < word.size() && (isLetter(word[at + 1]) || word[at + 1] == u'$' || word[at + 1] == u':'))
        ++at;
    }
    if (at < word.size() && word[at] == letter) return true;
  }
  return false;
}

// FOR [/D | /R [path] | /L | /F ["options"]] %%v IN (set) DO command, from
// the word after FOR: the command runs once for each item of the set (or
// each file, line or number the set gives) with it put in for the
// variable. Page text before DO makes every word that names the variable
// the page's; /F reads its set as a command's output or a file's lines,
// which the page may not choose at all.
bool ForRunsNoPageProgram(const CmdWordList& words, std::size_t next, const ArgumentUseOf& useOf) {
  std::size_t in = words.size(), doAt = words.size();
  bool lines = false;
  for (std::size_t i = next; i < words.size() && doAt == words.size(); ++i) {
    const std::u16string word = Keyword(words, i);
    if (in == words.size() && word == u"/f") lines = true;
    if (in == words.size() && word == u"in") in = i;
    if (in != words.size() && word == u"do") doAt = i;
  }
  // Without IN and DO it is no FOR cmd.exe runs.
  if (doAt == words.size()) return !AnyPageIn(words, next, words.size());
  const bool pageBeforeDo = AnyPageIn(words, next, doAt);
  if (pageBeforeDo && lines) return false;
  CmdWordList command(words.begin() + static_cast<std::ptrdiff_t>(doAt) + 1, words.end());
  if (pageBeforeDo) {
    const std::u16string& variable = words[in - 1].text;
    for (MarkedText& word : command) {
      // A variable not found takes every word with a percent sign.
      const bool names = in > next && !variable.empty() ? NamesForVariable(word.text, variable.back())
                                                        : word.text.find(u'%') != std::u16string::npos;
      if (names) word.page.assign(word.page.size(), true);
    }
  }
  return RunsNoPageProgram(command, 0, useOf);
}

// The words from `from` on are a command: its program is words[from].
bool RunsNoPageProgram(const CmdWordList& words, std::size_t from, const ArgumentUseOf& useOf) {
  if (from >= words.size()) return true;
  if (words[from].AnyPage()) return false;
  std::u16string name = WithoutQuotes(words[from]).text;
  while (!name.empty() && name.front() == u'@') name.erase(0, 1);
  // cmd.exe ends a command's name at a slash too ("start/b", "dir/w"): the
  // rest is its first argument.
  const std::size_t slash = name.find(u'/');
  if (slash != std::u16string::npos && slash > 0) {
    CmdWordList split(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(from));
    split.emplace_back().Append(std::u16string_view(name).substr(0, slash), false);
    split.emplace_back().Append(std::u16string_view(name).substr(slash), false);
    split.insert(split.end(), words.begin() + static_cast<std::ptrdiff_t>(from) + 1, words.end());
    return RunsNoPageProgram(split, from, useOf);
  }
  const std::u16string lower = LowerText(name);
  if (lower.empty()) return RunsNoPageProgram(words, from + 1, useOf);
  if (lower == u"if") return IfRunsNoPageProgram(words, from + 1, useOf);
  if (lower == u"for") return ForRunsNoPageProgram(words, from + 1, useOf);
  if (lower == u"call") {
    // CALL :label runs the batch file's own lines from the label, with the
    // arguments it is given as %1 … %9: lines the second reading reads with
    // the file's arguments, not with these.
    if (from + 1 < words.size() && words[from + 1].text.front() == u':')
      return !AnyPageIn(words, from + 2, words.size());
    return RunsNoPageProgram(words, from + 1, useOf);
  }
  if (lower == u"start") {
    std::size_t target = from + 1;
    // A first argument in quotes is the window's title, then START's options.
    bool pageTitle = false;
    if (target < words.size() && words[target].text.front() == u'"') {
      pageTitle = words[target].AnyPage();
      ++target;
    }
    while (target < words.size() && words[target].text.front() == u'/') {
      // "/D path", "/NODE number" and "/AFFINITY mask" take the word after.
      const std::u16string option = LowerText(words[target].text);
      if (option == u"/d" || option == u"/node" || option == u"/affinity") ++target;
      ++target;
    }
    // With nothing to start, START opens a new cmd.exe: a page value that
    // came to stand first in quotes (the host quotes a value with blanks)
    // would have turned the target into the title.
    if (target >= words.size()) return !pageTitle;
    if (words[target].AnyPage()) {
      // START hands its target to the shell, which opens a web address in
      // the browser but starts a program the page names (a path, a share,
      // file: or another protocol's address).
      return IsWebAddress(WithoutQuotes(words[target]).text);
    }
    return RunsNoPageProgram(words, target, useOf);
  }
  const ArgumentUse use = useOf(name);
  std::vector<std::u16string> arguments;
  std::vector<bool> fromPage;
  for (std::size_t i = from + 1; i < words.size(); ++i) {
    arguments.push_back(WithoutQuotes(words[i]).text);
    fromPage.push_back(words[i].AnyPage());
  }
  return WhatPageArgumentsAre(use, arguments, fromPage) == PageArguments::Data;
}

}  // namespace

bool CmdRunsNoPageProgram(const MarkedText& command, const ArgumentUseOf& useOf) {
  bool pageRedirect = false;
  const std::vector<CmdWordList> commands = CommandsOf(command, &pageRedirect);
  if (pageRedirect) return false;
  for (const CmdWordList& words : commands) {
    if (!RunsNoPageProgram(words, 0, useOf)) return false;
  }
  return true;
}
