#include "mainwindow/list_pointer.h"

#include <commctrl.h>

#include "catalogue/item_record.h"
#include "common/growing_buffer.h"
#include "common/path_kind.h"
#include "common/wide_text.h"
#include "common/win_handles.h"
#include "editdialog/edit_dialog.h"
#include "mainwindow/list_rules.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_texts.h"

namespace {

HWND tooltip = nullptr;
HWND tooltipList = nullptr;
std::string tooltipText;

TOOLINFOA ListTool(const char* text) {
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(tooltipList);
  tool.uId = reinterpret_cast<UINT_PTR>(tooltipList);
  tool.lpszText = const_cast<char*>(text);
  return tool;
}

void SetListTooltip(const std::string& text) {
  if (!tooltip || text == tooltipText) return;
  tooltipText = text;
  if (text.empty()) SendMessageA(tooltip, TTM_POP, 0, 0);
  TOOLINFOA tool = ListTool(tooltipText.c_str());
  SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

// Width of a name in the list's font, in pixels. Measured in UTF-16, as the
// list draws it: the ANSI measure would read the bytes in the system's code
// page, not in 932.
int NameWidth(HWND list, const std::string& name) {
  WindowDc dc(list);
  SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
  const std::wstring wide = ToWide(name);
  SIZE size = {};
  GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  return size.cx;
}

// The first file of a drop, "" when there is none. The drop is finished
// (its memory freed) as soon as that is read.
std::string TakeFirstDroppedFile(UniqueDrop drop) {
  if (DragQueryFileA(drop.get(), 0xFFFFFFFF, nullptr, 0) == 0) return {};
  return GrowingBufferCall<char>(
      CutReport::FilledLessNul,
      [&drop](char* buffer, std::size_t capacity) {
        return DragQueryFileA(drop.get(), 0, buffer, static_cast<UINT>(capacity));
      },
      DragQueryFileA(drop.get(), 0, nullptr, 0));
}

}  // namespace

void CreateListTooltip(HWND mainWindow, HWND list) {
  tooltipList = list;
  tooltipText.clear();
  tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mainWindow, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  TOOLINFOA tool = ListTool("");
  SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND ListTooltip() { return IsWindow(tooltip) ? tooltip : nullptr; }

void OnListMouseMove(int x, int y) {
  HWND list = tooltipList;
  if (!list) return;
  const LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
  const int index = LOWORD(hit);
  // The high word is set when the point lies outside every item.
  if (HIWORD(hit) != 0 || index >= ItemCount()) {
    ShowHint(kListNotice);
    SetListTooltip("");
    return;
  }
  const ItemRecord& item = Items[index];
  ShowHint(item.Comment);
  RECT bounds;
  GetWindowRect(list, &bounds);
  const bool tip = NeedsFullNameTip(bounds.right - bounds.left, NameWidth(list, item.ItemName));
  SetListTooltip(tip ? item.ItemName : "");
}

void OnListDrop(HDROP drop) {
  const std::string path = TakeFirstDroppedFile(UniqueDrop(drop));
  const PathKind kind = GetPathKind(path);
  if (!IsAcceptableDrop(path, kind) && !IsItemFileDrop(path, kind)) return;
  SetPendingDrop(path);
  // The dialog opens from the timer, after the drop has ended.
  SetTimer(MainWindow(), kTimer1, kTimer1Interval, nullptr);
}
