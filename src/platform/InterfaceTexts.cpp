// Adding an interface text (a new Japanese label, button, message ...):
//   1. add one line QT_TRANSLATE_NOOP("Varst", "the Japanese text") below, exactly as the
//      code writes it (leading and trailing blanks and line breaks left out; a text with a
//      number or path inside becomes a pattern with %1, %2 in their place);
//   2. run scripts/update-translations: lupdate adds the text to translations/varst_en.ts
//      as unfinished;
//   3. in that entry write the English between <translation> and </translation> and drop
//      type="unfinished".
// The build compiles the .ts into the program; the catalogue test fails while a Japanese
// literal under src/ has no finished English.
#include "platform/InterfaceTexts.h"

#include <QtGlobal>

namespace varst {

const std::vector<const char*>& InterfaceTextSources() {
  static const std::vector<const char*> texts = {
      // Main window: caption, command buttons, entry boxes.
      QT_TRANSLATE_NOOP("Varst", "ﾊﾟﾌｫｰﾏﾝｽ計測ﾋﾞｭｰｱｰ Ver%1"),
      QT_TRANSLATE_NOOP("Varst", "(処理中)"),
      QT_TRANSLATE_NOOP("Varst", "ﾌｧｲﾙを開く"),
      QT_TRANSLATE_NOOP("Varst", "ﾌｧｲﾙを保存"),
      QT_TRANSLATE_NOOP("Varst", "ｽﾑｰｼﾞﾝｸﾞ"),
      QT_TRANSLATE_NOOP("Varst", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ"),
      QT_TRANSLATE_NOOP("Varst", "ﾏｰｼﾞ"),
      QT_TRANSLATE_NOOP("Varst", "色設定"),
      QT_TRANSLATE_NOOP("Varst", "描画"),
      QT_TRANSLATE_NOOP("Varst", "ﾌｧｲﾙ名変換"),
      QT_TRANSLATE_NOOP("Varst", "ファイル名変換ツールを開きます"),
      QT_TRANSLATE_NOOP("Varst", "一定"),
      QT_TRANSLATE_NOOP("Varst", "機種名表示"),
      // Main window: popup menu and messages.
      QT_TRANSLATE_NOOP("Varst", "削除"),
      QT_TRANSLATE_NOOP("Varst", "編集"),
      QT_TRANSLATE_NOOP("Varst", "位置変更"),
      QT_TRANSLATE_NOOP("Varst", "クリップボードにコピーしますか"),
      QT_TRANSLATE_NOOP("Varst", "ｸﾞﾗﾌﾃﾞｰﾀﾌｧｲﾙ(*.DAT)"),
      QT_TRANSLATE_NOOP("Varst", "データがありません"),
      QT_TRANSLATE_NOOP("Varst", "設定範囲が不正です"),
      QT_TRANSLATE_NOOP("Varst", "試験範囲が異なります。試験範囲が同じでなければなりません"),
      QT_TRANSLATE_NOOP("Varst", "ファイルが存在します。上書きしますか?"),
      QT_TRANSLATE_NOOP("Varst", "保存終了"),
      QT_TRANSLATE_NOOP("Varst", "設定値が範囲外です(%1～%2)"),
      QT_TRANSLATE_NOOP("Varst", "設定値が範囲外です"),
      QT_TRANSLATE_NOOP("Varst", "%1～%2"),
      QT_TRANSLATE_NOOP("Varst", "型が一致しません。"),
      QT_TRANSLATE_NOOP("Varst", "オーバーフローしました。"),
      // Loading.
      QT_TRANSLATE_NOOP("Varst", "データが不正です"),
      QT_TRANSLATE_NOOP("Varst", "データを追加しますか?"),
      QT_TRANSLATE_NOOP("Varst", "計測データが異なります。"),
      QT_TRANSLATE_NOOP("Varst", "一度に表示できるファイルは513個までです。"),
      QT_TRANSLATE_NOOP("Varst", "表示できる系列は513本までです。それ以降の系列は表示されません。"),
      // Chart dialogs.
      QT_TRANSLATE_NOOP("Varst", "キャンセル"),
      QT_TRANSLATE_NOOP("Varst", "バックカラー"),
      QT_TRANSLATE_NOOP("Varst", "グリッドカラー"),
      QT_TRANSLATE_NOOP("Varst", "目盛りカラー"),
      QT_TRANSLATE_NOOP("Varst", "ﾌｫﾝﾄｻｲｽﾞ"),
      QT_TRANSLATE_NOOP("Varst", "Gridﾌｫﾝﾄ倍率"),
      QT_TRANSLATE_NOOP("Varst", "小"),
      QT_TRANSLATE_NOOP("Varst", "中"),
      QT_TRANSLATE_NOOP("Varst", "大"),
      QT_TRANSLATE_NOOP("Varst", "倍率が不正です"),
      QT_TRANSLATE_NOOP("Varst", "ライン色設定"),
      QT_TRANSLATE_NOOP("Varst", "色指定"),
      QT_TRANSLATE_NOOP("Varst", "画像のサイズ設定"),
      QT_TRANSLATE_NOOP("Varst", "幅(Dot)"),
      QT_TRANSLATE_NOOP("Varst", "高さ(Dot)"),
      QT_TRANSLATE_NOOP("Varst", "グラフ表示位置変更"),
      QT_TRANSLATE_NOOP("Varst", "下げる"),
      QT_TRANSLATE_NOOP("Varst", "上げる"),
      // File name conversion tool.
      QT_TRANSLATE_NOOP("Varst", "ファイル名変換ツール"),
      QT_TRANSLATE_NOOP("Varst", "保存先フォルダー"),
      QT_TRANSLATE_NOOP("Varst", "￥"),
      QT_TRANSLATE_NOOP("Varst", "指定なし"),
      QT_TRANSLATE_NOOP("Varst", "機種名"),
      QT_TRANSLATE_NOOP("Varst", "日付"),
      QT_TRANSLATE_NOOP("Varst", "ファイルが存在する場合の処理"),
      QT_TRANSLATE_NOOP("Varst", "上書きする"),
      QT_TRANSLATE_NOOP("Varst", "名前を変えて保存する"),
      QT_TRANSLATE_NOOP("Varst", "コピーしない"),
      QT_TRANSLATE_NOOP("Varst", "ダイアログを開く"),
      QT_TRANSLATE_NOOP("Varst", "タイムスタンプとファイル名のチェック"),
      QT_TRANSLATE_NOOP("Varst", "変換が成功したファイル数"),
      QT_TRANSLATE_NOOP("Varst", "変換を失敗したファイル数"),
      QT_TRANSLATE_NOOP("Varst", "変換をスキップしたファイル数"),
      QT_TRANSLATE_NOOP("Varst", "読み込まれているファイル数"),
      QT_TRANSLATE_NOOP("Varst", "リネーム開始"),
      QT_TRANSLATE_NOOP("Varst", "中止"),
      QT_TRANSLATE_NOOP("Varst", "ファイル"),
      QT_TRANSLATE_NOOP("Varst", "全削除"),
      QT_TRANSLATE_NOOP("Varst", "元ﾌｧｲﾙ名"),
      QT_TRANSLATE_NOOP("Varst", "ｽﾃｰﾀｽ"),
      QT_TRANSLATE_NOOP("Varst", "変換後ﾌｧｲﾙ名"),
      QT_TRANSLATE_NOOP("Varst", "全ファイル(*.*)"),
      QT_TRANSLATE_NOOP("Varst", "ﾌｫﾙﾀﾞを選択してください"),
      QT_TRANSLATE_NOOP("Varst", "設定されているファイルを削除しますか?"),
      QT_TRANSLATE_NOOP("Varst", "既にファイルが存在しますので処理はスキップされます"),
      QT_TRANSLATE_NOOP("Varst", "正常に終了しました"),
      QT_TRANSLATE_NOOP("Varst", "同じファイル名が存在するので処理をスキップしました"),
      QT_TRANSLATE_NOOP("Varst", "ユーザーによって処理をスキップしました"),
      QT_TRANSLATE_NOOP("Varst", "データファイルが不正です"),
      QT_TRANSLATE_NOOP("Varst", "コピー中にエラーが発生しました"),
      QT_TRANSLATE_NOOP("Varst", "全てのファイル名が正常に変換されました"),
      QT_TRANSLATE_NOOP("Varst", "全てのファイル名が正常に変換されていません。確認してください"),
      QT_TRANSLATE_NOOP("Varst", "中断されました"),
      QT_TRANSLATE_NOOP("Varst", "設定されたファイルがありません"),
      QT_TRANSLATE_NOOP("Varst", "ファイル名とタイムスタンプが一致しません"),
      QT_TRANSLATE_NOOP("Varst", "ファイルの重複"),
      QT_TRANSLATE_NOOP("Varst", "同じファイルが存在します。"),
      QT_TRANSLATE_NOOP("Varst", "以降このダイアログを開かない"),
      QT_TRANSLATE_NOOP("Varst", "スキップ"),
      QT_TRANSLATE_NOOP("Varst", "中断"),
      QT_TRANSLATE_NOOP("Varst", "続行"),
      // Command-line modes.
      QT_TRANSLATE_NOOP("Varst", "画像を保存できません: %1"),
      QT_TRANSLATE_NOOP("Varst", "ファイルが見つかりません: %1"),
      QT_TRANSLATE_NOOP("Varst", "メモリが不足しています"),
      QT_TRANSLATE_NOOP("Varst", "標準出力に書き込めません"),
      QT_TRANSLATE_NOOP("Varst", "画像を保存"),
      QT_TRANSLATE_NOOP("Varst", "画像ファイル"),
      QT_TRANSLATE_NOOP("Varst", "画像の形式は .png, .svg, .pdf のいずれかです"),
      QT_TRANSLATE_NOOP("Varst", "画像を保存できません"),
      QT_TRANSLATE_NOOP("Varst", "統計"),
      QT_TRANSLATE_NOOP("Varst", "全体表示"),
      QT_TRANSLATE_NOOP("Varst", "コピー"),
      QT_TRANSLATE_NOOP("Varst", "CSV保存"),
      QT_TRANSLATE_NOOP("Varst", "CSVファイル"),
      QT_TRANSLATE_NOOP("Varst", "保存先フォルダーが設定されていません"),
      QT_TRANSLATE_NOOP("Varst", "ファイルが見つかりません"),
      QT_TRANSLATE_NOOP("Varst", "(外れ)"),
      QT_TRANSLATE_NOOP("Varst", "基準帯"),
  };
  return texts;
}

}  // namespace varst
