// The texts of the What's This help, topic by topic: the string table of
// help_texts.rc is made from them, and the tests compare what the program
// loads with them. Each begins with its heading and a blank line. Written
// so that the resource compiler and the C++ compiler read them alike: a
// double quote is \x22, a backslash \\.
#pragma once

// Help topic n is string IDS_HELP_TOPIC_BASE + n (topics 0 to 31).
#define IDS_HELP_TOPIC_BASE 4096

// clang-format off
#define ORBISK_HELP_TEXT_2 "登録済み項目一覧\r\n\r\nInternet Explorer の右クリックメニューに登録されている項目の一覧です。名前の順に並んでいます。\r\n\r\nダブルクリックまたは Enter キーで選択中の項目を編集し、Delete キーで削除します。アプリケーション (*.exe) のファイルをここにドロップすると、そのパスを入れた追加画面が開きます。項目のファイル (*.ini) をドロップすると、その項目をインポートします。\r\n\r\n右クリックで開くメニューから、項目をファイルにエクスポートしたり、ファイルからインポートしたりできます。\r\n\r\nマウスポインタを項目の上に置くと、その項目のコメントが下の欄に表示されます。"
#define ORBISK_HELP_TEXT_3 "追加\r\n\r\n右クリックメニューに新しい項目を登録します。項目の内容を入力する画面が開きます。"
#define ORBISK_HELP_TEXT_4 "編集\r\n\r\n一覧で選択中の項目の内容（アプリケーションのパス、パラメータ、コメント、表示方法など）を変更します。項目名は変更できません。項目名を変えるときは［名称変更］を使います。"
#define ORBISK_HELP_TEXT_5 "削除\r\n\r\n一覧で選択中の項目を右クリックメニューから削除します。確認のメッセージで［はい］を選ぶと、項目の登録とスクリプトファイルが削除されます。"
#define ORBISK_HELP_TEXT_6 "全削除\r\n\r\n一覧のすべての項目を右クリックメニューから削除します。確認のメッセージで［はい］を選ぶと、すべての項目の登録とスクリプトファイルが削除されます。元に戻すことはできません。"
#define ORBISK_HELP_TEXT_7 "コメントと注意事項\r\n\r\nマウスポインタが一覧の項目の上にあるときは、その項目のコメントを表示します。それ以外のときは注意事項を表示します。"
#define ORBISK_HELP_TEXT_8 "項目名\r\n\r\n右クリックメニューに表示される名前です。スクリプトファイルの名前にも使われるため、\\ / : * ? \x22 < > | の各文字、改行やタブ、CON や COM1 などの予約デバイス名は使えません。\r\n\r\n「&」を含めると、その次の文字がメニューのアクセスキーになります。"
#define ORBISK_HELP_TEXT_9 "アプリケーションのパス\r\n\r\nメニューを選んだときに起動するアプリケーションのファイルを、フルパスで指定します。［...］ボタンでファイルを選ぶこともできます。"
#define ORBISK_HELP_TEXT_10 "アプリケーションの選択\r\n\r\nファイルを開く画面で、起動するアプリケーションを選びます。項目名が空のときは、選んだファイルの名前（拡張子を除く）が項目名に入ります。"
#define ORBISK_HELP_TEXT_11 "パラメータ\r\n\r\nアプリケーションに渡すコマンドライン引数です。<TU>（ページの URL）、<ST>（選択された文字列）などの置換パラメータは、メニューを選んだときの値に置き換えられます。置換パラメータは右の［>］ボタンから挿入できます。"
#define ORBISK_HELP_TEXT_12 "置換パラメータの選択\r\n\r\nURL、タイトル、リンク、画像、選択文字列、日時などの置換パラメータの一覧を表示します。選んだパラメータはパラメータ欄のカーソル位置に挿入されます。"
#define ORBISK_HELP_TEXT_13 "コメント\r\n\r\n項目についての自由なメモです。複数行で入力できます。メイン画面で項目の上にマウスポインタを置くと表示されます。"
#define ORBISK_HELP_TEXT_14 "表示方法\r\n\r\nどの場所で右クリックしたときにこの項目をメニューに表示するかを選びます。少なくともひとつはチェックしてください。"
#define ORBISK_HELP_TEXT_15 "通常時\r\n\r\nページの何もないところで右クリックしたときに、この項目を表示します。"
#define ORBISK_HELP_TEXT_16 "画像上\r\n\r\n画像の上で右クリックしたときに、この項目を表示します。<IU>（画像の URL）などを使うときにチェックします。"
#define ORBISK_HELP_TEXT_17 "リンク上\r\n\r\nリンクの上で右クリックしたときに、この項目を表示します。<AU>（リンク先の URL）などを使うときにチェックします。"
#define ORBISK_HELP_TEXT_18 "テキスト選択時\r\n\r\n文字列を選択した状態で右クリックしたときに、この項目を表示します。<ST>（選択された文字列）などを使うときにチェックします。"
#define ORBISK_HELP_TEXT_19 "OK\r\n\r\n入力内容を確認してから、スクリプトファイルを作成し、右クリックメニューに登録します。"
#define ORBISK_HELP_TEXT_20 "Cancel\r\n\r\n何も変更せずに画面を閉じます。"
#define ORBISK_HELP_TEXT_21 "ウィンドウスタイル\r\n\r\n起動するアプリケーションのウィンドウの状態（非表示、通常のウィンドウ、最小化表示、最大化表示）を選びます。"
#define ORBISK_HELP_TEXT_22 "コマンドライン確認\r\n\r\nチェックすると、アプリケーションを起動する代わりに、置換後のコマンドラインをメッセージで表示します。パラメータを確かめるときに使います。"
#define ORBISK_HELP_TEXT_23 "スクリプトの表示\r\n\r\nこの項目のスクリプトファイルを、ソース表示用のエディタ（設定がなければメモ帳）で開きます。表示されるのは最後に保存された内容です。"
#define ORBISK_HELP_TEXT_24 "定型文字列を登録する\r\n\r\nチェックすると、アプリケーションを起動する代わりに、右クリックした入力欄に決まった文字列を入力する項目になります。アプリケーションのパス、表示方法、ウィンドウスタイルは使われません。"
#define ORBISK_HELP_TEXT_25 "定型文字列\r\n\r\n右クリックした入力欄に入力する文字列です。<Y4>（西暦年）や <H2>（時）などの日時パラメータ、<\\N>（改行）、<\\T>（タブ）、<IT>（入力した文字列）を含めることができます。"
#define ORBISK_HELP_TEXT_26 "名称変更\r\n\r\n一覧で選択中の項目の名前を変更します。内容はそのままで、新しい名前で登録し直されます。"
#define ORBISK_HELP_TEXT_27 "置換パラメータの選択\r\n\r\n定型文字列に使える日時パラメータと、改行・タブ・文字列入力のパラメータの一覧を表示します。選んだパラメータは定型文字列欄のカーソル位置に挿入されます。"
// clang-format on

#ifndef RC_INVOKED
struct HelpText {
  int topic;
  const char* text;
};

// Every topic that has a text, in topic order.
inline constexpr HelpText kHelpTexts[] = {
    {2, ORBISK_HELP_TEXT_2},   {3, ORBISK_HELP_TEXT_3},   {4, ORBISK_HELP_TEXT_4},
    {5, ORBISK_HELP_TEXT_5},   {6, ORBISK_HELP_TEXT_6},   {7, ORBISK_HELP_TEXT_7},
    {8, ORBISK_HELP_TEXT_8},   {9, ORBISK_HELP_TEXT_9},   {10, ORBISK_HELP_TEXT_10},
    {11, ORBISK_HELP_TEXT_11}, {12, ORBISK_HELP_TEXT_12}, {13, ORBISK_HELP_TEXT_13},
    {14, ORBISK_HELP_TEXT_14}, {15, ORBISK_HELP_TEXT_15}, {16, ORBISK_HELP_TEXT_16},
    {17, ORBISK_HELP_TEXT_17}, {18, ORBISK_HELP_TEXT_18}, {19, ORBISK_HELP_TEXT_19},
    {20, ORBISK_HELP_TEXT_20}, {21, ORBISK_HELP_TEXT_21}, {22, ORBISK_HELP_TEXT_22},
    {23, ORBISK_HELP_TEXT_23}, {24, ORBISK_HELP_TEXT_24}, {25, ORBISK_HELP_TEXT_25},
    {26, ORBISK_HELP_TEXT_26}, {27, ORBISK_HELP_TEXT_27},
};
#endif
