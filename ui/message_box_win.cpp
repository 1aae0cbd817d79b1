#include "ui/message_box.h"

#include "common/win_handles.h"
#include "ui/product.h"
#include "ui/window_placement.h"

HWND MessageOwner = nullptr;

namespace {

// The one-shot hook: installed by ShowMessage, removed by itself when the box
// is activated (or by ShowMessage when no activation came).
UniqueHook centerHook;
HWND centerOwner = nullptr;

LRESULT CALLBACK CenterMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HCBT_ACTIVATE) return CallNextHookEx(centerHook.get(), code, wParam, lParam);
  const auto box = reinterpret_cast<HWND>(wParam);
  RECT ownerRect, boxRect;
  if (IsWindow(centerOwner) && GetWindowRect(centerOwner, &ownerRect) && GetWindowRect(box, &boxRect)) {
    CentreWindow(box, ownerRect, {boxRect.right - boxRect.left, boxRect.bottom - boxRect.top});
  }
  centerHook.reset();
  return 0;
}

}  // namespace

int ShowMessage(const std::string& text, UINT buttons, const std::string& title) {
  HWND owner = IsWindow(MessageOwner) ? MessageOwner : nullptr;
  if (owner) {
    centerOwner = owner;
    centerHook.reset(SetWindowsHookExA(WH_CBT, CenterMessageHook, nullptr, GetCurrentThreadId()));
  }
  const std::string shownTitle = title.empty() ? std::string(kProductName) : title;
  const int pressed = MessageBoxA(owner, text.c_str(), shownTitle.c_str(), buttons);
  centerHook.reset();
  return pressed;
}
