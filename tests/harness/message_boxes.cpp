#include "tests/harness/message_boxes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

#include "tests/harness/win_test_util.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;
constexpr int kMessageIconId = 0x0440;

std::mutex lock;
std::deque<int> answers;
std::vector<SeenMessageBox> seen;
std::set<HWND> handled;
std::atomic<bool> running{false};
std::thread watcher;

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(length + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), length + 1));
  return ToAnsi(text);
}

bool IsMessageBox(HWND window) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  return strcmp(className, "#32770") == 0 && IsWindowVisible(window) &&
         GetDlgItem(window, kMessageTextId) != nullptr;
}

BoxIcon IconOf(HWND box) {
  HWND iconControl = GetDlgItem(box, kMessageIconId);
  if (!iconControl) return BoxIcon::None;
  const auto icon = reinterpret_cast<HICON>(SendMessageW(iconControl, STM_GETICON, 0, 0));
  if (!icon) return BoxIcon::None;
  if (icon == LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_HAND))) return BoxIcon::Stop;
  if (icon == LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_QUESTION))) return BoxIcon::Question;
  if (icon == LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_EXCLAMATION))) return BoxIcon::Warning;
  if (icon == LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_ASTERISK))) return BoxIcon::Information;
  return BoxIcon::None;
}

void Answer(HWND box) {
  SeenMessageBox record;
  record.title = WindowText(box);
  record.text = WindowText(GetDlgItem(box, kMessageTextId));
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
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(record.pressed, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, record.pressed)));
  std::lock_guard<std::mutex> guard(lock);
  seen.push_back(record);
}

BOOL CALLBACK VisitWindow(HWND window, LPARAM found) {
  if (IsMessageBox(window)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

void WatchLoop() {
  while (running) {
    std::vector<HWND> boxes;
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&boxes));
    std::set<HWND> present(boxes.begin(), boxes.end());
    for (HWND box : boxes) {
      if (handled.insert(box).second) {
        Sleep(30);  // let the box finish its set-up (position, default button)
        Answer(box);
      }
    }
    // Forget boxes that are gone, so that a reused handle is seen afresh.
    for (auto it = handled.begin(); it != handled.end();) {
      it = present.count(*it) ? std::next(it) : handled.erase(it);
    }
    Sleep(20);
  }
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
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    {
      std::lock_guard<std::mutex> guard(lock);
      if (seen.size() >= count) return true;
    }
    PumpMessages(20);
  }
  return false;
}

void StartMessageBoxWatcher() {
  {
    std::lock_guard<std::mutex> guard(lock);
    answers.clear();
    seen.clear();
  }
  handled.clear();
  running = true;
  watcher = std::thread(WatchLoop);
}

void StopMessageBoxWatcher() {
  if (!running) return;
  running = false;
  if (watcher.joinable()) watcher.join();
  std::lock_guard<std::mutex> guard(lock);
  for (const SeenMessageBox& box : seen) {
    if (!box.expected) {
      ADD_FAILURE() << "unexpected message box \"" << Utf8(box.title) << "\": " << Utf8(box.text);
    }
  }
  if (!answers.empty()) ADD_FAILURE() << answers.size() << " expected message box(es) never appeared";
}
