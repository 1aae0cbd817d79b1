// Reads the message boxes that appear on the desktop while a browser test
// runs, as a user would see them, and closes them.
//   browser_boxes <out-file> <timeout-ms> <count>
// waits for `count` message boxes of any process (or until the timeout), and
// for each writes one line of JSON to out-file, in UTF-8:
//   {"title":…,"text":…,"buttons":[1,2…]}
// then presses OK (or, lacking one, Cancel, No, the first button). The file
// is complete once the program ended; its exit code is 0 when all `count`
// boxes were seen, 1 on time-out, 2 on bad arguments.
#include <windows.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "common/win_handles.h"
#include "tests/harness/utf8_text.h"
#include "tests/harness/waiting.h"
#include "tests/harness/window_search.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(length + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), length + 1));
  return text;
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (const unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      static const char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

bool IsMessageBox(HWND window) { return IsVisibleDialog(window) && GetDlgItem(window, kMessageTextId); }

// Describes the box and presses its most harmless button.
std::string ReadAndClose(HWND box) {
  std::vector<int> buttons;
  for (const int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    HWND button = GetDlgItem(box, id);
    if (button && IsWindowVisible(button)) buttons.push_back(id);
  }
  std::string line = "{\"title\":" + JsonString(Utf8(WindowText(box))) +
                     ",\"text\":" + JsonString(Utf8(WindowText(GetDlgItem(box, kMessageTextId)))) +
                     ",\"buttons\":[";
  for (size_t i = 0; i < buttons.size(); ++i) line += (i ? "," : "") + std::to_string(buttons[i]);
  line += "]}\n";
  int press = buttons.empty() ? IDOK : buttons.front();
  for (const int preferred : {IDNO, IDCANCEL, IDOK}) {
    for (const int present : buttons) {
      if (present == preferred) press = preferred;
    }
  }
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, press)));
  return line;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  const DWORD timeoutMs = static_cast<DWORD>(wcstoul(argv[2], nullptr, 10));
  const size_t wanted = wcstoul(argv[3], nullptr, 10);
  std::string lines;
  size_t seen = 0;
  // Boxes already read that are still closing; a handle that is gone is
  // forgotten, so that a new box that reuses it is read too.
  std::set<HWND> closing;
  // The boxes are other processes' windows, which announce themselves to
  // nobody here: the desktop is looked over until all came.
  WaitUntil(
      [&] {
        const std::vector<HWND> boxes = TopLevelWindows(IsMessageBox);
        const std::set<HWND> present(boxes.begin(), boxes.end());
        for (auto it = closing.begin(); it != closing.end();)
          it = present.count(*it) ? std::next(it) : closing.erase(it);
        for (HWND box : boxes) {
          if (seen < wanted && closing.insert(box).second) {
            // Its text and buttons are set once its thread is in the box's
            // own message loop.
            WaitForWindowThread(box);
            lines += ReadAndClose(box);
            ++seen;
          }
        }
        return seen >= wanted;
      },
      timeoutMs);
  UniqueFile out(
      CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!out || !WriteFile(out.get(), lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr))
    return 2;
  return seen == wanted ? 0 : 1;
}
