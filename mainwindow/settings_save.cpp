#include "mainwindow/settings_save.h"

#include <optional>
#include <vector>

#include "catalogue/item_record.h"
#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/message_box.h"

namespace {

std::optional<std::vector<ItemRecord>> lastSaved;

}  // namespace

bool SaveCatalogue() {
  lastSaved = Items;
  if (SaveItems()) return true;
  ShowMessage(SaveFailedText(SettingsFilePath()), kCriticalOk, kProductName);
  return false;
}

bool CatalogueSaved() { return lastSaved && *lastSaved == Items; }
