#include "tests/harness/message_boxes.h"

#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <set>
#include <thread>

#include "common/win_handles.h"
#include "tests/harness/waiting.h"
#include "tests/harness/win_test_util.h"
#include "tests/harness/window_search.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;
constexpr int kMessageIconId = 0x0440;

std::mutex lock;
std::deque<int> answers;
std::vector<SeenMessageBox> seen;
std::set<HWND> handled;
bool running = false;
UniqueHandle stopWatching;  // set to end the watcher's loop
std::thread watcher;

bool IsMessageBox(HWND window) {
  return IsVisibleDialog(window) && GetDlgItem(window, kMessageTextId) != nullptr;
}

struct StandardIcon {
  BoxIcon kind;
  WORD id;  // IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK
};

constexpr StandardIcon kStandardIcons[] = {
    {BoxIcon::Stop, 32513},
    {BoxIcon::Question, 32514},
    {BoxIcon::Warning, 32515},
    {BoxIcon::Information, 32516},
};

HICON StandardIconHandle(WORD id) { return LoadIconW(nullptr, MAKEINTRESOURCEW(id)); }

// The pixels of a width x height bitmap compatible with dc (and not selected
// into any), top row first.
std::vector<COLORREF> PixelsOf(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
  GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  for (COLORREF& pixel : pixels) pixel &= 0x00FFFFFF;
  return pixels;
}

// The icon of a box in another process: its icon handle means nothing here,
// so the icon control's pixels on the screen are compared with each standard
// icon drawn on the same background. Nothing that matches well gives None.
BoxIcon IconByLooks(HWND iconControl) {
  RECT rect;
  if (!GetWindowRect(iconControl, &rect)) return BoxIcon::None;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0 || width > 256 || height > 256) return BoxIcon::None;

  const WindowDc screen(nullptr);
  const UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  const UniqueGdiObject bitmapObject(CreateCompatibleBitmap(screen.get(), width, height));
  const auto bitmap = static_cast<HBITMAP>(bitmapObject.get());
  {
    const SelectedObject drawing(memory.get(), bitmap);
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
  }
  const std::vector<COLORREF> shown = PixelsOf(memory.get(), bitmap, width, height);

  BoxIcon best = BoxIcon::None;
  size_t bestMatches = 0;
  for (const StandardIcon& icon : kStandardIcons) {
    {
      const SelectedObject drawing(memory.get(), bitmap);
      const UniqueGdiObject background(CreateSolidBrush(shown[0] & 0x00FFFFFF));  // a corner is background
      const RECT all = {0, 0, width, height};
      FillRect(memory.get(), &all, static_cast<HBRUSH>(background.get()));
      DrawIconEx(memory.get(), 0, 0, StandardIconHandle(icon.id), width, height, 0, nullptr, DI_NORMAL);
    }
    const std::vector<COLORREF> drawn = PixelsOf(memory.get(), bitmap, width, height);
    size_t matches = 0;
    for (size_t i = 0; i < drawn.size(); ++i) matches += drawn[i] == shown[i];
    if (matches > bestMatches) {
      bestMatches = matches;
      best = icon.kind;
    }
  }
  return bestMatches * 10 >= shown.size() * 9 ? best : BoxIcon::None;
}

BoxIcon IconOf(HWND box) {
  HWND iconControl = GetDlgItem(box, kMessageIconId);
  if (!iconControl) return BoxIcon::None;
  const auto icon = reinterpret_cast<HICON>(SendMessageW(iconControl, STM_GETICON, 0, 0));
  if (!icon) return BoxIcon::None;
  for (const StandardIcon& standard : kStandardIcons) {
    if (icon == StandardIconHandle(standard.id)) return standard.kind;
  }
  // A box of another process: looked at until it has painted its icon. Its
  // thread paints when it gets round to it, and tells no other process.
  BoxIcon seen = BoxIcon::None;
  WaitUntil(
      [&] {
        seen = IconByLooks(iconControl);
        return seen != BoxIcon::None;
      },
      500);
  return seen;
}

void Answer(HWND box) {
  SeenMessageBox record;
  record.title = WindowTextAnsi(box);
  record.text = WindowTextAnsi(GetDlgItem(box, kMessageTextId));
  GetWindowThreadProcessId(box, &record.processId);
  GetWindowRect(box, &record.rect);
  record.icon = IconOf(box);
  for (const int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    HWND button = GetDlgItem(box, id);
    if (!button || !IsWindowVisible(button)) continue;
    record.buttons.push_back(id);
    if ((GetWindowLongW(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) record.defaultButton = id;
  }
  {
    std::lock_guard<std::mutex> guard(lock);
    if (!answers.empty()) {
      record.pressed = answers.front();
      record.expected = true;
      answers.pop_front();
    }
  }
  if (!record.expected) {
    // Dismiss with the most harmless button the box has.
    for (const int id : {IDCANCEL, IDNO, IDOK}) {
      for (const int present : record.buttons) {
        if (present == id && record.pressed == 0) record.pressed = id;
      }
    }
    if (record.pressed == 0) record.pressed = IDOK;
  }
  const int pressed = record.pressed;
  {
    // Recorded before the press: the box's caller goes on as soon as the
    // box closes, and may look at what was seen at once.
    std::lock_guard<std::mutex> guard(lock);
    seen.push_back(record);
  }
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(pressed, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, pressed)));
}

// Looks the desktop over for boxes until stop is set. A box of another
// process announces itself to its own thread alone, so there is nothing to
// wait on for one: the looks come at short intervals, and a wait on stop
// fills the time between them.
void WatchLoop(HANDLE stop) {
  constexpr DWORD kLookEveryMs = 20;
  do {
    const std::vector<HWND> boxes = TopLevelWindows(IsMessageBox);
    std::set<HWND> present(boxes.begin(), boxes.end());
    for (HWND box : boxes) {
      if (handled.insert(box).second) {
        // Its set-up (position, default button) is done once its thread is in
        // the box's own message loop.
        WaitForWindowThread(box);
        Answer(box);
      }
    }
    // Forget boxes that are gone, so that a reused handle is seen afresh.
    for (auto it = handled.begin(); it != handled.end();) {
      it = present.count(*it) ? std::next(it) : handled.erase(it);
    }
  } while (WaitForSingleObject(stop, kLookEveryMs) == WAIT_TIMEOUT);
}

}  // namespace

void ExpectMessageBox(int button) {
  std::lock_guard<std::mutex> guard(lock);
  answers.push_back(button);
}

std::vector<SeenMessageBox> SeenMessageBoxes() {
  std::lock_guard<std::mutex> guard(lock);
  return seen;
}

bool WaitForMessageBoxes(size_t count, DWORD timeoutMs) {
  // The watcher finds the boxes by looking (see WatchLoop); the boxes of
  // this process need its messages handled to show.
  return WaitUntilPumping(
      [count] {
        std::lock_guard<std::mutex> guard(lock);
        return seen.size() >= count;
      },
      timeoutMs);
}

void StartMessageBoxWatcher() {
  {
    std::lock_guard<std::mutex> guard(lock);
    answers.clear();
    seen.clear();
  }
  handled.clear();
  if (!stopWatching) stopWatching.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  ResetEvent(stopWatching.get());
  running = true;
  watcher = std::thread(WatchLoop, stopWatching.get());
}

void StopMessageBoxWatcher() {
  if (!running) return;
  running = false;
  SetEvent(stopWatching.get());
  if (watcher.joinable()) watcher.join();
  std::lock_guard<std::mutex> guard(lock);
  for (const SeenMessageBox& box : seen) {
    if (!box.expected) {
      ADD_FAILURE() << "unexpected message box \"" << Utf8(box.title) << "\": " << Utf8(box.text);
    }
  }
  if (!answers.empty()) ADD_FAILURE() << answers.size() << " expected message box(es) never appeared";
}
