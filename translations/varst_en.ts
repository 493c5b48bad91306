<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Varst</name>
    <message>
        <source>ﾊﾟﾌｫｰﾏﾝｽ計測ﾋﾞｭｰｱｰ Ver%1</source>
        <translation>Performance Viewer Ver%1</translation>
    </message>
    <message>
        <source>(処理中)</source>
        <translation>(busy)</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙを開く</source>
        <translation>Open files</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙを保存</source>
        <translation>Save file</translation>
    </message>
    <message>
        <source>ｽﾑｰｼﾞﾝｸﾞ</source>
        <translation>Smoothing</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞ</source>
        <translation>Copy to clipboard</translation>
    </message>
    <message>
        <source>ﾏｰｼﾞ</source>
        <translation>Merge</translation>
    </message>
    <message>
        <source>色設定</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>描画</source>
        <translation>Redraw</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名変換</source>
        <translation>Rename files</translation>
    </message>
    <message>
        <source>ファイル名変換ツールを開きます</source>
        <translation>Opens the file name conversion tool</translation>
    </message>
    <message>
        <source>一定</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>機種名表示</source>
        <translation>Show model</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>位置変更</source>
        <translation>Drawing order</translation>
    </message>
    <message>
        <source>クリップボードにコピーしますか</source>
        <translation>Copy to the clipboard?</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾌﾃﾞｰﾀﾌｧｲﾙ(*.DAT)</source>
        <translation>Graph data files (*.DAT)</translation>
    </message>
    <message>
        <source>データがありません</source>
        <translation>There is no data.</translation>
    </message>
    <message>
        <source>設定範囲が不正です</source>
        <translation>The range is invalid.</translation>
    </message>
    <message>
        <source>試験範囲が異なります。試験範囲が同じでなければなりません</source>
        <translation>The test ranges differ. They must be the same.</translation>
    </message>
    <message>
        <source>ファイルが存在します。上書きしますか?</source>
        <translation>The file exists. Overwrite it?</translation>
    </message>
    <message>
        <source>保存終了</source>
        <translation>Saved.</translation>
    </message>
    <message>
        <source>設定値が範囲外です(%1～%2)</source>
        <translation>The value is out of range (%1 to %2).</translation>
    </message>
    <message>
        <source>設定値が範囲外です</source>
        <translation>The value is out of range:</translation>
    </message>
    <message>
        <source>%1～%2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>型が一致しません。</source>
        <translation>Not a number.</translation>
    </message>
    <message>
        <source>オーバーフローしました。</source>
        <translation>The number is too large.</translation>
    </message>
    <message>
        <source>データが不正です</source>
        <translation>The data is invalid.</translation>
    </message>
    <message>
        <source>データを追加しますか?</source>
        <translation>Add to the loaded data?</translation>
    </message>
    <message>
        <source>計測データが異なります。</source>
        <translation>The files hold different kinds of measurement.</translation>
    </message>
    <message>
        <source>一度に表示できるファイルは513個までです。</source>
        <translation>At most 513 files can be shown at once.</translation>
    </message>
    <message>
        <source>表示できる系列は513本までです。それ以降の系列は表示されません。</source>
        <translation>At most 513 series can be shown. Further series are not shown.</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>バックカラー</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>グリッドカラー</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>目盛りカラー</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>ﾌｫﾝﾄｻｲｽﾞ</source>
        <translation>Font size</translation>
    </message>
    <message>
        <source>Gridﾌｫﾝﾄ倍率</source>
        <translation>Axis font scale</translation>
    </message>
    <message>
        <source>小</source>
        <translation>Small</translation>
    </message>
    <message>
        <source>中</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>大</source>
        <translation>Large</translation>
    </message>
    <message>
        <source>倍率が不正です</source>
        <translation>The scale is invalid.</translation>
    </message>
    <message>
        <source>ライン色設定</source>
        <translation>Line colours</translation>
    </message>
    <message>
        <source>色指定</source>
        <translation>Choose colour</translation>
    </message>
    <message>
        <source>画像のサイズ設定</source>
        <translation>Picture size</translation>
    </message>
    <message>
        <source>幅(Dot)</source>
        <translation>Width (px)</translation>
    </message>
    <message>
        <source>高さ(Dot)</source>
        <translation>Height (px)</translation>
    </message>
    <message>
        <source>グラフ表示位置変更</source>
        <translation>Drawing order</translation>
    </message>
    <message>
        <source>下げる</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>上げる</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>ファイル名変換ツール</source>
        <translation>File name conversion</translation>
    </message>
    <message>
        <source>保存先フォルダー</source>
        <translation>Destination folder</translation>
    </message>
    <message>
        <source>￥</source>
        <translation>/</translation>
    </message>
    <message>
        <source>指定なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>機種名</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>日付</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>ファイルが存在する場合の処理</source>
        <translation>If the file exists</translation>
    </message>
    <message>
        <source>上書きする</source>
        <translation>Overwrite</translation>
    </message>
    <message>
        <source>名前を変えて保存する</source>
        <translation>Save under a new name</translation>
    </message>
    <message>
        <source>コピーしない</source>
        <translation>Do not copy</translation>
    </message>
    <message>
        <source>ダイアログを開く</source>
        <translation>Ask</translation>
    </message>
    <message>
        <source>タイムスタンプとファイル名のチェック</source>
        <translation>Check file names against time stamps</translation>
    </message>
    <message>
        <source>変換が成功したファイル数</source>
        <translation>Files renamed</translation>
    </message>
    <message>
        <source>変換を失敗したファイル数</source>
        <translation>Files failed</translation>
    </message>
    <message>
        <source>変換をスキップしたファイル数</source>
        <translation>Files skipped</translation>
    </message>
    <message>
        <source>読み込まれているファイル数</source>
        <translation>Files listed</translation>
    </message>
    <message>
        <source>リネーム開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>Add files</translation>
    </message>
    <message>
        <source>全削除</source>
        <translation>Remove all</translation>
    </message>
    <message>
        <source>元ﾌｧｲﾙ名</source>
        <translation>Source file</translation>
    </message>
    <message>
        <source>ｽﾃｰﾀｽ</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>変換後ﾌｧｲﾙ名</source>
        <translation>New file name</translation>
    </message>
    <message>
        <source>全ファイル(*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>ﾌｫﾙﾀﾞを選択してください</source>
        <translation>Choose a folder</translation>
    </message>
    <message>
        <source>設定されているファイルを削除しますか?</source>
        <translation>Remove every file from the list?</translation>
    </message>
    <message>
        <source>既にファイルが存在しますので処理はスキップされます</source>
        <translation>Files already in the list are skipped.</translation>
    </message>
    <message>
        <source>正常に終了しました</source>
        <translation>Copied.</translation>
    </message>
    <message>
        <source>同じファイル名が存在するので処理をスキップしました</source>
        <translation>Skipped: a file of that name exists.</translation>
    </message>
    <message>
        <source>ユーザーによって処理をスキップしました</source>
        <translation>Skipped by the user.</translation>
    </message>
    <message>
        <source>データファイルが不正です</source>
        <translation>The data file is invalid.</translation>
    </message>
    <message>
        <source>コピー中にエラーが発生しました</source>
        <translation>Copying failed.</translation>
    </message>
    <message>
        <source>全てのファイル名が正常に変換されました</source>
        <translation>All files were renamed.</translation>
    </message>
    <message>
        <source>全てのファイル名が正常に変換されていません。確認してください</source>
        <translation>Not all files were renamed. Please check the list.</translation>
    </message>
    <message>
        <source>中断されました</source>
        <translation>Aborted.</translation>
    </message>
    <message>
        <source>設定されたファイルがありません</source>
        <translation>The list is empty.</translation>
    </message>
    <message>
        <source>ファイル名とタイムスタンプが一致しません</source>
        <translation>The file name does not match the time stamp.</translation>
    </message>
    <message>
        <source>ファイルの重複</source>
        <translation>File exists</translation>
    </message>
    <message>
        <source>同じファイルが存在します。</source>
        <translation>A file of the same name exists.</translation>
    </message>
    <message>
        <source>以降このダイアログを開かない</source>
        <translation>Do not ask again</translation>
    </message>
    <message>
        <source>スキップ</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>Abort</translation>
    </message>
    <message>
        <source>続行</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>画像を保存できません: %1</source>
        <translation>Cannot save the picture: %1</translation>
    </message>
    <message>
        <source>ファイルが見つかりません: %1</source>
        <translation>File not found: %1</translation>
    </message>
    <message>
        <source>メモリが不足しています</source>
        <translation>Not enough memory.</translation>
    </message>
    <message>
        <source>標準出力に書き込めません</source>
        <translation>Cannot write to standard output.</translation>
    </message>
    <message>
        <source>画像を保存</source>
        <translation>Save picture</translation>
    </message>
    <message>
        <source>画像ファイル</source>
        <translation>Picture files</translation>
    </message>
    <message>
        <source>画像の形式は .png, .svg, .pdf のいずれかです</source>
        <translation>The picture must be .png, .svg or .pdf.</translation>
    </message>
    <message>
        <source>画像を保存できません</source>
        <translation>Cannot save the picture.</translation>
    </message>
    <message>
        <source>統計</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>全体表示</source>
        <translation>Whole range</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>CSV保存</source>
        <translation>Save CSV</translation>
    </message>
    <message>
        <source>CSVファイル</source>
        <translation>CSV files</translation>
    </message>
    <message>
        <source>保存先フォルダーが設定されていません</source>
        <translation>No destination folder is set.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>(外れ)</source>
        <translation>(outlier)</translation>
    </message>
    <message>
        <source>基準帯</source>
        <translation>Reference band</translation>
    </message>
</context>
</TS>
