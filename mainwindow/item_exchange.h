// Moving items between Orbisk and a file: the export of all items or one,
// and the import, from the list's context menu, a dropped file or the
// command line. An imported item passes the edit dialog's checks and gets
// the same writes (script file, menu entry, settings file); the catalogue
// changes only as far as the user chose.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "catalogue/item_record.h"
#include "catalogue/item_transfer.h"

// Writes records to path; false when the file could not be written (the old
// one, if any, is then untouched).
bool ExportItems(const std::string& path, const std::vector<ItemRecord>& records);

// What to do with an imported item whose name is listed already.
enum class ConflictChoice { Overwrite, Skip, KeepBoth };

struct ImportOutcome {
  // "" when the file was taken; else why nothing changed (a file that
  // cannot be read or is refused, or a settings file that could not be
  // written, after which every item of this import was taken back).
  std::string problem;
  std::string reason;  // the same in one line, for a quiet import's report
  ImportReport report;
};

// Imports the file at path into Items. Interactive (owner may be nullptr):
// asks once per listed name, with "apply to all". Quiet: skips every listed
// name and asks nothing.
ImportOutcome ImportItems(const std::string& path, HWND owner, bool quiet);

// The list's context menu at a screen point (-1, -1 for the menu key: then
// below the selected line, or at the list's corner).
void ShowListMenu(HWND window, HWND list, LPARAM screenPoint);

// A dropped item file: imported, with the boxes, and shown in the list.
// True when the file was taken.
bool ImportIntoWindow(const std::string& path);

// "Orbisk.exe /import <file>" started while the window is open hands the
// file over to it (WM_COPYDATA with this tag and the file's full path): the
// window's list in memory is the catalogue, so the window imports, as if the
// file had been dropped, instead of a second process whose writes the
// window's next save would undo. The window's answer: 0 not taken (a dialog
// or box is open over it), else 1 plus the exit code of the import.
inline constexpr ULONG_PTR kImportHandOverTag = 0x4F524B49;
LRESULT OnImportHandedOver(HWND window, const COPYDATASTRUCT& data);

// "Orbisk.exe /export <file>" and "Orbisk.exe /import <file> [/quiet]":
// the catalogue of the user, without the main window. Returns the exit code:
// 0 done, 1 the file was refused or could not be read or written, 2 Orbisk's
// window is open (its list would overwrite the import) and did not take the
// file: a quiet import is never handed over, for it must ask nothing.
int RunExport(const std::string& path);
int RunImport(const std::string& path, bool quiet);

// Orbisk.exe started with arguments it does not take: the usage, on
// standard output for a quiet run, which must show no box, else in a box.
// Returns the exit code, 1.
int RunUsage(bool quiet);
