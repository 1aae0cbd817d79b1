#include "mainwindow/catalogue_save.h"

#include "catalogue/program_paths.h"
#include "catalogue/settings_file.h"
#include "mainwindow/main_window_texts.h"
#include "ui/message_box.h"
#include "ui/product.h"

bool SaveCatalogue() {
  if (SaveItems()) return true;
  ShowMessage(SaveFailedText(SettingsFilePath()), kCriticalOk, kProductName);
  return false;
}
