// The host's messages, in UTF-8: the error answers the extension shows, and
// the texts of the host's message boxes.
#pragma once

#include <string>

#include "bridge/host/command_line.h"
#include "common/utf.h"

namespace host_texts {

// Answers to messages the host cannot take.
inline std::string Malformed() { return FromU8(u8"メッセージを読み取れませんでした。"); }
inline std::string UnknownRequest() { return FromU8(u8"不明な要求です。"); }
inline std::string NoItemName() { return FromU8(u8"項目名が指定されていません。"); }
inline std::string BadFacts() { return FromU8(u8"ページの情報が正しくありません。"); }
inline std::string UnknownItem() { return FromU8(u8"その項目は登録されていません。"); }
inline std::string TooLong() { return FromU8(u8"メッセージが大きすぎます。"); }
inline std::string Truncated() { return FromU8(u8"メッセージが途中で切れています。"); }
inline std::string SettingsUnreadable() { return FromU8(u8"設定ファイルを読み込めませんでした。"); }
inline std::string TooManyItems() { return FromU8(u8"項目が多すぎるため一覧を送れません。"); }
inline std::string RefusedCaller() { return FromU8(u8"Orbisk の拡張機能以外からの要求には応じられません。"); }

// The item script's own box when the application does not start; the host
// shows it and answers with it.
inline std::string StartFailed() { return FromU8(u8"プログラムの起動に失敗しました。"); }

// Why a pick started nothing: its page text could not be handed over as data.
inline std::string Refused(LineRefusal refusal) {
  switch (refusal) {
    case LineRefusal::TooLong:
      return FromU8(u8"コマンドラインが長すぎるため、プログラムを起動しませんでした。");
    case LineRefusal::NulInPageText:
      return FromU8(
          u8"ページの文字列にプログラムへ渡せない文字（NUL）が含まれているため、起動しませんでした。");
    case LineRefusal::UnsafeForBatch:
      return FromU8(
          u8"ページの文字列にバッチファイルへ安全に渡せない文字（\" % ! ^ "
          u8"や改行など）が含まれているため、起動しませんでした。");
    case LineRefusal::PageFormsOption:
      return FromU8(
          u8"ページの文字列がコマンドラインのオプションとして読まれるおそれがあるため、起動しませんでした。");
    case LineRefusal::PageNamesPath:
      return FromU8(
          u8"ページの文字列がファイルやプログラムのパスを変えるおそれがあるため、起動しませんでした。");
    case LineRefusal::PageIsCode:
      return FromU8(
          u8"ページの文字列がプログラムのコードとして実行されるおそれがあるため、起動しませんでした。");
    case LineRefusal::None:
      break;
  }
  return {};
}

// Registration with the browsers.
inline std::string Registered() { return FromU8(u8"ブラウザとの連携を登録しました。"); }
inline std::string RegisterFailed() { return FromU8(u8"ブラウザとの連携の登録に失敗しました。"); }
inline std::string Unregistered() { return FromU8(u8"ブラウザとの連携の登録を解除しました。"); }
inline std::string UnregisterFailed() { return FromU8(u8"ブラウザとの連携の登録解除に失敗しました。"); }

// The manifests' description of the host.
inline std::string HostDescription() { return FromU8(u8"Orbisk の項目をブラウザのメニューから使う"); }

}  // namespace host_texts
