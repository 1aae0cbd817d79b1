#include "mainwindow/main_window_texts.h"

const char kListNotice[] =
    "　Internet Explorer "
    "の制限（32個）を超えて登録することができますが、超えた分は右クリックメニューには表示さ"
    "れません。\r\n"
    "　処理結果を反映させるには、Internet Explorer の再起動が必要です。";

const char kDeleteAllConfirmText[] = "ＩＥの右クリックメニューから一覧の全項目を削除しますか？";

std::string ItemCountText(int itemCount) { return "項目数：" + std::to_string(itemCount); }

std::string VersionStatusText(const std::string& versionText, const std::string& rightsNotice) {
  return "v" + versionText + "  " + rightsNotice;
}

std::string DeleteConfirmText(const std::string& itemName) {
  return "ＩＥの右クリックメニューから「" + itemName + "」を削除しますか？";
}

std::string AlreadyRunningText(const std::string& title) { return title + " は既に起動されています。"; }

std::string SaveFailedText(const std::string& settingsPath) {
  return "設定ファイルの保存に失敗しました。\r\n" + settingsPath;
}

std::string LoadFailedText(const std::string& settingsPath) {
  return "設定ファイルを読み込めませんでした。\r\n" + settingsPath;
}

std::string ExportedText(std::size_t itemCount, const std::string& path) {
  return std::to_string(itemCount) + " 件の項目をエクスポートしました。\r\n" + path;
}

std::string ExportFailedText(const std::string& path) {
  return "ファイルに書き込めませんでした。\r\n" + path;
}

std::string ImportUnreadableText(const std::string& path) {
  return "ファイルを読み込めませんでした。\r\n" + path + "\r\n\r\n何も変更していません。";
}

std::string ImportRefusedText(const std::string& path, const std::string& problem) {
  return "このファイルからはインポートできません。\r\n" + path + "\r\n\r\n" + problem +
         "\r\n\r\n何も変更していません。";
}

std::string ImportConflictText(const std::string& itemName) {
  return "「" + itemName + "」は登録済みです。\r\nインポートする項目をどうしますか？";
}

const char kMenuEntryOfAnotherText[] = "同じ名前のメニュー項目がほかのプログラムによって登録されています。";

const char kUsageText[] =
    "使い方:\r\n"
    "  Orbisk.exe\r\n"
    "  Orbisk.exe /export <ファイル>\r\n"
    "  Orbisk.exe /import <ファイル> [/quiet]";
