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
