// btnBrows: the platform's Open File dialog for the application, starting in
// the folder of the path already typed.
#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include "common/text_util.h"
#include "editdialog/edit_dialog_resource.h"
#include "editdialog/edit_form.h"
#include "editdialog/edit_rules.h"

namespace {

constexpr DWORD kOpenFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
static_assert(kOpenFlags == 0x81804);
constexpr DWORD kBufferSize = 256;

// The two entries, each text and pattern NUL-separated, ending in a double NUL.
std::string ProgramFilter() {
  std::string filter = "ｱﾌﾟﾘｹｰｼｮﾝ(*.exe)";
  filter += '\0';
  filter += "*.exe";
  filter += '\0';
  filter += "全てのﾌｧｲﾙ(*.*)";
  filter += '\0';
  filter += "*.*";
  filter += '\0';
  filter += '\0';
  return filter;
}

// The chosen full path, "" when the user cancels or the dialog fails (a path
// longer than the buffer included).
std::string BrowseForFile(HWND owner, const std::string& filter, const std::string& initialFolder) {
  std::string file(kBufferSize, '\0');
  std::string title(kBufferSize, '\0');
  OPENFILENAMEA open = {};
  open.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  open.hwndOwner = owner;
  open.hInstance = GetModuleHandleA(nullptr);
  open.lpstrFilter = filter.c_str();
  open.nFilterIndex = 1;
  open.lpstrFile = file.data();
  open.nMaxFile = kBufferSize;
  open.lpstrFileTitle = title.data();
  open.nMaxFileTitle = kBufferSize;
  open.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
  open.Flags = kOpenFlags;
  if (!GetOpenFileNameA(&open)) return {};
  return file.substr(0, file.find('\0'));
}

}  // namespace

void OnBrowseClick() {
  const std::string folder = InitialBrowseFolder(FieldText(IDC_TXTAPLPATH), GetPathKind);
  const std::string path = BrowseForFile(frmEdit.dialog, ProgramFilter(), folder);
  if (path.empty()) return;
  SetFieldText(IDC_TXTAPLPATH, path);
  if (frmEdit.mode == EditModes::Add && TrimBlanks(FieldText(IDC_TXTITEMNAME)).empty()) {
    SetFieldText(IDC_TXTITEMNAME, NameFromProgramPath(path));
  }
}
