#include "bridge/host/launcher_lines.h"

#include <string>
#include <string_view>
#include <vector>

#include "launchers/common/argument_text.h"
#include "launchers/fetchbay/fetchbay_rules.h"
#include "launchers/jotwell/jotwell_options.h"

namespace {

// The launchers read code page 932 and find their syntax with their own
// parsers, built in here, so the host judges a line by the very grammar the
// launcher will read it with. Those grammars look only at ASCII bytes (a
// blank, a slash, an option letter), and code page 932 never has one inside
// a double-byte character: no trail byte is a blank or a slash, and the byte
// after an ASCII slash always starts a character. Every character here is
// one the code page holds (the page's others are "?" by now, and the template
// came from code page 932), so ASCII stays itself and any other character
// stands as one double-byte character: the grammars find their syntax in
// these bytes exactly where they find it in the real ones.
constexpr char kDoubleByteStandIn[] = "〓";
static_assert(sizeof kDoubleByteStandIn == 3, "one double-byte character");

// The argument text in the launcher's bytes, each byte knowing the character
// of the marked text it came from.
struct LauncherBytes {
  std::string bytes;
  std::vector<std::size_t> characterOf;
  std::size_t characters = 0;

  // The character a byte belongs to; the text's end for the bytes' end.
  std::size_t CharacterAt(std::size_t byte) const {
    return byte < characterOf.size() ? characterOf[byte] : characters;
  }
};

LauncherBytes LauncherBytesOf(const MarkedText& arguments) {
  LauncherBytes line;
  line.characters = arguments.text.size();
  for (std::size_t i = 0; i < arguments.text.size(); ++i) {
    const char16_t c = arguments.text[i];
    if (c < 0x80) {
      line.bytes += static_cast<char>(c);
    } else {
      line.bytes += kDoubleByteStandIn;
    }
    line.characterOf.resize(line.bytes.size(), i);
  }
  return line;
}

// Where the launcher's text starts. The launcher takes it from its whole
// line with ArgumentTextOf, and the host's line is the quoted path, a blank
// and these arguments (BuildCommandLine); a path holds no quote, so an empty
// quoted one ends where any would.
std::size_t ArgumentTextStart(std::string_view bytes) {
  const std::string line = "\"\" " + std::string(bytes);
  return bytes.size() - ArgumentTextOf(line).size();
}

// A run of page text inside a path must stay inside the one name the
// template gives it: no separator, drive or stream colon, and not "." or ".."
// (nor what Windows trims to them).
bool PageRunStaysInName(std::u16string_view run) {
  if (run.find_first_of(u"\\/:") != std::u16string_view::npos) return false;
  const bool onlyDotsAndBlanks = run.find_first_not_of(u". ") == std::u16string_view::npos;
  return !onlyDotsAndBlanks || run.find(u'.') == std::u16string_view::npos;
}

bool PageStaysInNames(const MarkedText& text, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to;) {
    if (!text.page[i]) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < to && text.page[end]) ++end;
    if (!PageRunStaysInName(std::u16string_view(text.text).substr(i, end - i))) return false;
    i = end;
  }
  return true;
}

// The page may fill Jotwell's values, but never a slash, the blank before
// it or a letter; in the text file's path only a name, and nothing in the
// editor's.
LineRefusal CheckJotwell(const MarkedText& arguments) {
  const LauncherBytes line = LauncherBytesOf(arguments);
  const std::size_t start = ArgumentTextStart(line.bytes);
  const std::string_view text = std::string_view(line.bytes).substr(start);
  const auto fromPage = [&](std::size_t byte) { return arguments.page[line.CharacterAt(start + byte)]; };
  // A text without options gets Jotwell's usage, none.
  for (const JotwellOptionPlace& option : LocateOptions(text)) {
    if (fromPage(option.slash) || (option.HasLetter() && fromPage(option.Letter()))) {
      return LineRefusal::PageFormsOption;
    }
    // The " /" that ends this option starts the next.
    if (option.end < text.size() && (fromPage(option.end) || fromPage(option.end + 1))) {
      return LineRefusal::PageFormsOption;
    }
    if (!option.HasLetter()) continue;
    // Both ends are on whole characters here: the letter is ASCII, and the
    // value ends at a blank or the text's end.
    const std::size_t from = line.CharacterAt(start + option.Value());
    const std::size_t to = line.CharacterAt(start + option.end);
    switch (OptionOfLetter(text[option.Letter()])) {
      case JotwellOption::Editor:
        if (arguments.AnyPage(from, to)) return LineRefusal::PageNamesPath;
        break;
      case JotwellOption::TextFile:
        if (!PageStaysInNames(arguments, from, to)) return LineRefusal::PageNamesPath;
        break;
      case JotwellOption::Text:
      case JotwellOption::Unknown:
        break;
    }
  }
  return LineRefusal::None;
}

// The blank that ends Fetchbay's URL and all after it, the application,
// must be the template's.
LineRefusal CheckFetchbay(const MarkedText& arguments) {
  const LauncherBytes line = LauncherBytesOf(arguments);
  const std::size_t start = ArgumentTextStart(line.bytes);
  const auto blank = FindUrlEnd(std::string_view(line.bytes).substr(start));
  if (blank == std::string_view::npos) return LineRefusal::None;  // Fetchbay shows its usage
  return arguments.AnyPage(line.CharacterAt(start + blank), arguments.text.size())
             ? LineRefusal::PageNamesPath
             : LineRefusal::None;
}

}  // namespace

LineRefusal CheckLauncherLine(ProgramKind kind, const MarkedText& arguments) {
  switch (kind) {
    case ProgramKind::Jotwell:
      return CheckJotwell(arguments);
    case ProgramKind::Fetchbay:
      return CheckFetchbay(arguments);
    default:
      return LineRefusal::None;
  }
}
