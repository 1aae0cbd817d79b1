#include "ui/field_help.h"

#include <windowsx.h>

#include "common/wide_text.h"
#include "common/win_handles.h"
#include "ui/help_texts.h"
#include "ui/screen_geometry.h"
#include "ui/window_placement.h"

namespace {

constexpr char kPopupClass[] = "OrbiskFieldHelp";
// In pixels of a 96 DPI display, scaled by the owner's DPI.
constexpr int kMaxTextWidth = 300;
constexpr int kPadding = 6;

HWND popup = nullptr;
int popupTopic = 0;
std::string popupText;
int popupPadding = kPadding;  // at the owner's DPI

HFONT PopupFont(HWND owner) {
  const auto font = reinterpret_cast<HFONT>(SendMessageA(owner, WM_GETFONT, 0, 0));
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

RECT TextBounds(HWND owner, const std::string& text) {
  RECT bounds = {0, 0, PixelsAtDpi(kMaxTextWidth, WindowDpi(owner)), 0};
  WindowDc dc(owner);
  SelectedObject font(dc.get(), PopupFont(owner));
  // Wide: DrawTextA reads the bytes in the system's code page, not in 932.
  const std::wstring wide = ToWide(text);
  DrawTextW(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &bounds,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  return bounds;
}

void OnPaint(HWND window) {
  PaintDc dc(window);
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc.get(), &client, GetSysColorBrush(COLOR_INFOBK));
  SelectedObject font(dc.get(), PopupFont(GetWindow(window, GW_OWNER)));
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), GetSysColor(COLOR_INFOTEXT));
  InflateRect(&client, -popupPadding, -popupPadding);
  const std::wstring wide = ToWide(popupText);
  DrawTextW(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &client,
            DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
}

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_ACTIVATE:
      // Clicking elsewhere takes the activation away: the pop-up goes.
      if (LOWORD(wParam) == WA_INACTIVE) PostMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      if (popup == window) {
        popup = nullptr;
        popupTopic = 0;
      }
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterPopupClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA windowClass = {};
  windowClass.style = CS_SAVEBITS | CS_DROPSHADOW;
  windowClass.lpfnWndProc = PopupProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kPopupClass;
  registered = RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Among the enabled, visible children of dialog under the point, the smallest:
// a label inside a frame rather than the frame.
HWND ControlUnder(HWND dialog, POINT point) {
  struct Search {
    POINT point;
    HWND found = nullptr;
    long long area = 0;
  } search{point};
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        RECT rect;
        if (!IsWindowVisible(child) || !IsWindowEnabled(child) || !GetWindowRect(child, &rect) ||
            !PtInRect(&rect, s->point)) {
          return TRUE;
        }
        const long long area = static_cast<long long>(rect.right - rect.left) * (rect.bottom - rect.top);
        if (!s->found || area < s->area) {
          s->found = child;
          s->area = area;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Shows the help topic of control in a pop-up beside it; nothing for a
// control without a topic.
void ShowFieldHelp(HWND control) {
  if (!control) return;
  const int topic = static_cast<int>(GetWindowContextHelpId(control));
  const std::string text = HelpTopicText(topic);
  if (text.empty()) return;
  CloseFieldHelp();
  RegisterPopupClass();

  HWND owner = GetAncestor(control, GA_ROOT);
  const RECT bounds = TextBounds(owner, text);
  popupPadding = PixelsAtDpi(kPadding, WindowDpi(owner));
  const int width = bounds.right - bounds.left + 2 * popupPadding + 2;
  const int height = bounds.bottom - bounds.top + 2 * popupPadding + 2;
  RECT controlRect;
  GetWindowRect(control, &controlRect);
  const RECT work = WorkAreaAt(controlRect);
  const ScreenPoint at =
      HelpPopupPosition({controlRect.left, controlRect.top, controlRect.right, controlRect.bottom}, width,
                        height, {work.left, work.top, work.right, work.bottom});

  popupText = text;
  popupTopic = topic;
  popup = CreateWindowExA(WS_EX_TOOLWINDOW, kPopupClass, "", WS_POPUP | WS_BORDER, at.x, at.y, width, height,
                          owner, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!popup) {
    popupTopic = 0;
    return;
  }
  ShowWindow(popup, SW_SHOW);
  UpdateWindow(popup);
}

}  // namespace

std::string HelpTopicText(int topic) {
  if (topic <= 0) return {};
  const wchar_t* resource = nullptr;
  const int length = LoadStringW(GetModuleHandleA(nullptr), IDS_HELP_TOPIC_BASE + topic,
                                 reinterpret_cast<LPWSTR>(&resource), 0);
  if (length <= 0 || !resource) return {};
  return ToAnsi(std::wstring_view(resource, length));
}

bool ShowFieldHelpAt(HWND window, HWND target, LPARAM screenPoint) {
  const POINT point = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  if (point.x == -1 && point.y == -1) return false;
  HWND control = target == window ? ControlUnder(window, point) : target;
  if (!control || control == window || !IsWindowEnabled(control)) return false;
  ShowFieldHelp(control);
  return popup != nullptr;
}

HWND FieldHelpWindow() { return popup; }
int FieldHelpTopic() { return popupTopic; }

void CloseFieldHelp() {
  if (popup) DestroyWindow(popup);
}
