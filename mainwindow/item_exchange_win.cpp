#include "mainwindow/item_exchange.h"

#include <commdlg.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "catalogue/item_sort.h"
#include "catalogue/item_store.h"
#include "catalogue/menu_registration.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "catalogue/validation.h"
#include "common/atomic_file.h"
#include "common/growing_buffer.h"
#include "common/path_kind.h"
#include "common/wide_text.h"
#include "common/win_handles.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/resource.h"
#include "mainwindow/single_instance.h"
#include "mainwindow/version_resource.h"
#include "ui/field_help.h"
#include "ui/message_box.h"
#include "ui/product.h"
#include "ui/window_placement.h"

namespace {

constexpr UINT kInformationOk = MB_ICONINFORMATION | MB_OK;  // 64
constexpr std::size_t kPathBufferSize = 32768;
// The file dialogs' filter: pairs of a caption and a pattern, NUL-separated.
constexpr char kItemFileFilter[] = "Orbisk の項目 (*.ini)\0*.ini\0すべてのファイル (*.*)\0*.*\0";

// --- The import -----------------------------------------------------------

struct ConflictQuestion {
  std::string itemName;
  ConflictChoice choice = ConflictChoice::Skip;
  bool applyToAll = false;
};

INT_PTR CALLBACK ConflictProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      const auto* question = reinterpret_cast<const ConflictQuestion*>(lParam);
      SetDlgItemTextA(dialog, IDC_CONFLICTTEXT, ImportConflictText(question->itemName).c_str());
      // Over the window the user works in, as the message boxes are.
      RECT own;
      GetWindowRect(dialog, &own);
      CentreOverOwner(dialog, {own.right - own.left, own.bottom - own.top});
      return TRUE;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) MessageOwner = dialog;
      return FALSE;
    case WM_COMMAND: {
      auto* question = reinterpret_cast<ConflictQuestion*>(GetWindowLongPtrA(dialog, DWLP_USER));
      const int id = LOWORD(wParam);
      // Esc and the close box skip: nothing of the user's changes unasked.
      if (id != IDC_BTNOVERWRITE && id != IDC_BTNSKIP && id != IDC_BTNKEEPBOTH && id != IDCANCEL)
        return FALSE;
      question->choice = id == IDC_BTNOVERWRITE  ? ConflictChoice::Overwrite
                         : id == IDC_BTNKEEPBOTH ? ConflictChoice::KeepBoth
                                                 : ConflictChoice::Skip;
      question->applyToAll = IsDlgButtonChecked(dialog, IDC_CHKAPPLYALL) == BST_CHECKED;
      EndDialog(dialog, id);
      return TRUE;
    }
  }
  return FALSE;
}

// Asks what becomes of an imported item whose name is listed already.
ConflictQuestion AskAboutListedName(HWND owner, const std::string& itemName) {
  ConflictQuestion question;
  question.itemName = itemName;
  HWND previousOwner = MessageOwner;
  const INT_PTR shown = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_IMPORTCONFLICT),
                                        owner, ConflictProc, reinterpret_cast<LPARAM>(&question));
  MessageOwner = previousOwner;
  if (shown <= 0) question.choice = ConflictChoice::Skip;
  return question;
}

int ListedIndexOf(const std::string& name) {
  for (int i = 0; i < ItemCount(); ++i) {
    if (SameStorageName(Items[i].ItemName, name)) return i;
  }
  return -1;
}

std::vector<std::string> ListedNames() {
  std::vector<std::string> names;
  for (const ItemRecord& item : Items) names.push_back(item.ItemName);
  return names;
}

// The path with its environment variables (%LOCALAPPDATA%, …) replaced by
// the importing user's values: an item file for a whole team can name an
// application below each user's own folder. An unknown variable stays.
std::string ExpandVariables(const std::string& path) {
  if (path.find('%') == std::string::npos) return path;
  const DWORD needed = ExpandEnvironmentStringsA(path.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::string expanded(needed, '\0');
  const DWORD got = ExpandEnvironmentStringsA(path.c_str(), expanded.data(), needed);
  if (got == 0 || got > needed) return path;
  expanded.resize(std::char_traits<char>::length(expanded.c_str()));
  return expanded;
}

// The path made full against this process's current folder, or as it was
// where Windows cannot make it so.
std::string FullPathOf(const std::string& path) {
  const std::string full =
      GrowingBufferCall<char>(CutReport::NeededSize, [&path](char* buffer, std::size_t capacity) {
        return GetFullPathNameA(path.c_str(), static_cast<DWORD>(capacity), buffer, nullptr);
      });
  return full.empty() ? path : full;
}

// An imported application path as the item stores it: a relative one was
// found from the import's current folder (the installer's, a console's),
// which is not the folder anything starts the item from later, so it is
// stored full; a full one stays as written, byte for byte.
std::string StoredApplicationPath(const std::string& path) {
  const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  const bool onDrive =
      path.size() >= 3 && isLetter(path[0]) && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  const bool full = onDrive || path.rfind("\\\\", 0) == 0;
  return full || path.empty() ? path : FullPathOf(path);
}

// The edit dialog's checks, as OK would run them on the item's fields.
ValidationResult Validate(const ItemRecord& item, ItemChange change, const std::string& storedName) {
  ValidationInput input;
  input.change = change;
  input.storedName = storedName;
  input.nameField = item.ItemName;
  input.parameterField = item.Argments;
  input.pathField = item.AplPath;
  input.fixedString = item.FixedString != 0;
  input.contexts = ContextFlags(item);
  input.itemNames = ListedNames();
  input.scriptFolder = UserFolder;
  return ValidateItem(input);
}

// What this import wrote, to take back when the settings file cannot be.
struct ImportUndo {
  std::vector<std::string> addedNames;
  std::vector<std::pair<ItemRecord, ScriptBackup>> replaced;

  void TakeBack() const {
    for (const std::string& name : addedNames) RemoveStoredItem(name);
    for (const auto& [stored, backup] : replaced) UndoStoredChange(stored, backup);
  }
};

// --- The file dialogs -----------------------------------------------------

std::string DocumentsFolder() {
  char path[MAX_PATH] = {};  // the size the call is defined with
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

std::string AskForItemFile(HWND owner, bool save) {
  std::string file(kPathBufferSize, '\0');
  if (save) {
    SYSTEMTIME today;
    GetLocalTime(&today);
    const std::string name = DefaultExportFileName(today.wYear, today.wMonth, today.wDay);
    file.replace(0, name.size(), name);
  }
  const std::string folder = DocumentsFolder();
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kItemFileFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrDefExt = "ini";
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  if (!chosen) return {};
  return file.substr(0, file.find('\0'));
}

// --- The main window's commands --------------------------------------------

void ExportFromWindow(const std::vector<ItemRecord>& records) {
  const std::string path = AskForItemFile(MainWindow(), true);
  if (path.empty()) return;
  if (ExportItems(path, records)) {
    ShowMessage(ExportedText(records.size(), path), kInformationOk, kProductName);
  } else {
    ShowMessage(ExportFailedText(path), kCriticalOk, kProductName);
  }
}

// The standard output a quiet import reports on: a file or pipe it was
// given, or the console it was started from. A windowed program gets no
// console of its own, so without a redirection it writes to its parent's,
// in UTF-16, whatever code page that console uses.
void WriteToStandardOutput(const std::string& text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if ((!out || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
    out = GetStdHandle(STD_OUTPUT_HANDLE);
  }
  if (!out || out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0, mode = 0;
  if (GetConsoleMode(out, &mode)) {
    const std::wstring wide = ToWide(text);
    WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Why an import could not run: in the report of a quiet one, else in a box.
void Tell(bool quiet, const std::string& reason, UINT icon) {
  if (quiet) {
    WriteToStandardOutput(ImportRefusedLogLine(reason));
  } else {
    ShowMessage(reason, icon, kProductName);
  }
}

// How an import ended: its report or the one line of its refusal when it is
// quiet; else its summary, or what was wrong, in a box.
void Tell(bool quiet, const ImportOutcome& outcome) {
  if (quiet) {
    WriteToStandardOutput(outcome.problem.empty() ? ImportLogText(outcome.report)
                                                  : ImportRefusedLogLine(outcome.reason));
  } else if (outcome.problem.empty()) {
    ShowMessage(ImportSummaryText(outcome.report), kInformationOk, kProductName);
  } else {
    ShowMessage(outcome.problem, kWarningOk, kProductName);
  }
}

// Hands an interactive import over to the open window (OnImportHandedOver)
// and waits while it asks and tells; the exit code of its import, or nullopt
// when there is no window or it did not take the file.
std::optional<int> HandOverToWindow(const std::string& path) {
  HWND window = FindWindowA(kMainWindowClass, kProductName);
  if (!window) return std::nullopt;
  // The window's current folder is not this process's.
  std::string full = FullPathOf(path);
  DWORD windowProcess = 0;
  GetWindowThreadProcessId(window, &windowProcess);
  AllowSetForegroundWindow(windowProcess);
  COPYDATASTRUCT data = {kImportHandOverTag, static_cast<DWORD>(full.size() + 1), full.data()};
  const LRESULT answer = SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  if (answer <= 0) return std::nullopt;
  return static_cast<int>(answer - 1);
}

}  // namespace

bool ExportItems(const std::string& path, const std::vector<ItemRecord>& records) {
  return WriteFileAtomically(path, ExportFileText(records));
}

ImportOutcome ImportItems(const std::string& path, HWND owner, bool quiet) {
  ImportOutcome outcome;
  std::string bytes;
  if (!ReadWholeFile(path, &bytes)) {
    outcome.problem = ImportUnreadableText(path);
    outcome.reason = "ファイルを読み込めませんでした。";
    return outcome;
  }
  // Two names of the file that make one key and one file are one name twice,
  // not an item to ask about once the first is in.
  const ItemFile file = ReadItemFile(bytes, Utf16ToCodePage932, UserFolder, SameStorageName);
  if (!file.problem.empty()) {
    outcome.problem = ImportRefusedText(path, file.problem);
    outcome.reason = file.problem;
    return outcome;
  }

  const std::vector<ItemRecord> before = Items;
  std::vector<std::string> fileNames;
  for (const ItemRecord& item : file.records) fileNames.push_back(item.ItemName);
  std::optional<ConflictChoice> forAll;
  ImportUndo undo;
  ImportReport& report = outcome.report;
  for (ItemRecord item : file.records) {
    const int listed = ListedIndexOf(item.ItemName);
    ConflictChoice choice = ConflictChoice::KeepBoth;
    if (listed >= 0) {
      if (quiet) {
        choice = ConflictChoice::Skip;
      } else if (forAll) {
        choice = *forAll;
      } else {
        const ConflictQuestion answer = AskAboutListedName(owner, Items[listed].ItemName);
        choice = answer.choice;
        if (answer.applyToAll) forAll = choice;
      }
    }
    if (choice == ConflictChoice::Skip) {
      report.skipped.push_back(item.ItemName);
      continue;
    }
    const bool overwrite = listed >= 0 && choice == ConflictChoice::Overwrite;
    if (overwrite) {
      // The listed item keeps its name (and with it its key and file).
      item.ItemName = Items[listed].ItemName;
    } else if (listed >= 0) {
      std::vector<std::string> taken = ListedNames();
      taken.insert(taken.end(), fileNames.begin(), fileNames.end());
      // Free as the registry and the file system see it, or the checks
      // below would refuse the name the user chose to keep both under.
      item.ItemName = FreeItemName(item.ItemName, taken, SameStorageName);
    }
    if (!item.FixedString) item.AplPath = StoredApplicationPath(ExpandVariables(item.AplPath));
    const ValidationResult checked =
        Validate(item, overwrite ? ItemChange::Edit : ItemChange::Add, overwrite ? item.ItemName : "");
    if (!checked.passed) {
      report.refused.emplace_back(item.ItemName, checked.message);
      continue;
    }
    // An entry of the name that Orbisk does not list but another program
    // (or Orbisk installed elsewhere) registered is that program's: an
    // import, perhaps deployed to every user, must not take it over.
    if (!overwrite && MenuEntryBelongsToAnother(item.ItemName)) {
      report.refused.emplace_back(item.ItemName, kMenuEntryOfAnotherText);
      continue;
    }
    StoreResult stored;
    if (overwrite) {
      ScriptBackup backup;
      stored = StoreChangedItem(item, Items[listed], &backup);
      if (stored == StoreResult::Stored) {
        undo.replaced.emplace_back(Items[listed], std::move(backup));
        Items[listed] = item;
        report.replaced.push_back(item.ItemName);
      }
    } else {
      stored = StoreNewItem(item);
      if (stored == StoreResult::Stored) {
        undo.addedNames.push_back(item.ItemName);
        Items.push_back(item);
        report.added.push_back(item.ItemName);
      }
    }
    if (stored != StoreResult::Stored) report.refused.emplace_back(item.ItemName, StoreFailureText(stored));
  }
  if (report.added.empty() && report.replaced.empty()) return outcome;
  if (ItemCount() > 1) SortItems(0, ItemCount() - 1);
  if (!SaveItems()) {
    // The settings file would not list what the registry and the scripts
    // now hold: all of this import is taken back.
    undo.TakeBack();
    Items = before;
    outcome.report = {};
    outcome.problem = SaveFailedText(SettingsFilePath()) + "\r\n\r\n何も変更していません。";
    outcome.reason = "設定ファイルに書き込めませんでした。";
  }
  return outcome;
}

bool ImportIntoWindow(const std::string& path) {
  const ImportOutcome outcome = ImportItems(path, MainWindow(), false);
  const bool changed = !outcome.report.added.empty() || !outcome.report.replaced.empty();
  if (changed) {
    RebuildItemList(ItemCount() > 0 ? 0 : -1);
    ShowItemCount();
    UpdateButtons();
  }
  Tell(false, outcome);
  return outcome.problem.empty();
}

LRESULT OnImportHandedOver(HWND window, const COPYDATASTRUCT& data) {
  if (data.dwData != kImportHandOverTag || !data.lpData || data.cbData == 0) return 0;
  // A command already open over the window (a dialog, a box) finishes first.
  if (!IsWindowEnabled(window)) return 0;
  const char* bytes = static_cast<const char*>(data.lpData);
  const std::string path(bytes, std::find(bytes, bytes + data.cbData, '\0'));
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  return ImportIntoWindow(path) ? 1 : 2;
}

void ShowListMenu(HWND window, HWND list, LPARAM screenPoint) {
  UniqueMenu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_LISTMENU)));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu.get(), 0);
  const int selected = SelectedItemIndex();
  const bool anySelected = selected >= 0 && selected < ItemCount();
  EnableMenuItem(popup, IDM_EXPORTALL, MF_BYCOMMAND | (ItemCount() > 0 ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(popup, IDM_EXPORTSELECTED, MF_BYCOMMAND | (anySelected ? MF_ENABLED : MF_GRAYED));

  POINT at = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  RECT listBounds;
  GetWindowRect(list, &listBounds);
  const bool byKey = at.x == -1 && at.y == -1;
  if (byKey) {
    // The menu key: below the selected line, else at the list's corner.
    RECT line;
    if (anySelected &&
        SendMessageA(list, LB_GETITEMRECT, selected, reinterpret_cast<LPARAM>(&line)) != LB_ERR) {
      at = {line.left, line.bottom};
      ClientToScreen(list, &at);
    } else {
      at = {listBounds.left, listBounds.top};
    }
  }
  const int command = TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                     at.x, at.y, 0, window, nullptr);
  switch (command) {
    case IDM_EXPORTALL:
      ExportFromWindow(Items);
      break;
    case IDM_EXPORTSELECTED:
      if (anySelected) ExportFromWindow({Items[selected]});
      break;
    case IDM_IMPORT: {
      const std::string path = AskForItemFile(window, false);
      if (!path.empty()) ImportIntoWindow(path);
      break;
    }
    case IDM_LISTHELP: {
      // The list's own help, beside it, where a right click showed it.
      const POINT centre = {(listBounds.left + listBounds.right) / 2,
                            (listBounds.top + listBounds.bottom) / 2};
      ShowFieldHelpAt(window, list, MAKELPARAM(centre.x, centre.y));
      break;
    }
  }
}

int RunExport(const std::string& path) {
  UserFolder = GetUserFolder();
  // An unread catalogue is not an empty one.
  if (!LoadItems()) {
    WriteToStandardOutput(LoadFailedText(SettingsFilePath()) + "\r\n");
    return 1;
  }
  if (ExportItems(path, Items)) return 0;
  WriteToStandardOutput(ExportFailedText(path) + "\r\n");
  return 1;
}

int RunUsage(bool quiet) {
  if (quiet) {
    WriteToStandardOutput(std::string(kUsageText) + "\r\n");
  } else {
    ShowMessage(kUsageText, kWarningOk, kProductName);
  }
  return 1;
}

int RunImport(const std::string& path, bool quiet) {
  UniqueHandle instanceMutex;
  if (!ClaimSingleInstance(kInstanceMutexName, instanceMutex)) {
    if (!quiet) {
      if (const std::optional<int> code = HandOverToWindow(path)) return *code;
    }
    Tell(quiet, AlreadyRunningText(kProductName), kWarningOk);
    return 2;
  }
  UserFolder = GetUserFolder();
  if (GetPathKind(UserFolder) != PathKind::Folder && !EnsureFolder(UserFolder)) {
    Tell(quiet, "MakeSureDirectoryPathExists Error", kCriticalOk);
    return 1;
  }
  if (!LoadItems()) {
    // Saved over, the file would lose every item it holds.
    ImportOutcome unread;
    unread.problem = LoadFailedText(SettingsFilePath()) + "\r\n\r\n何も変更していません。";
    unread.reason = "設定ファイルを読み込めませんでした。";
    Tell(quiet, unread);
    return 1;
  }
  // The scripts name the program's version and notice, as the window's own
  // writes do once its load has read them.
  LoadVersionTexts();
  const ImportOutcome outcome = ImportItems(path, nullptr, quiet);
  Tell(quiet, outcome);
  return outcome.problem.empty() ? 0 : 1;
}
