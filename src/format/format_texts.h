#pragma once

// The texts the format definition and its file show the user, in one place.
namespace quisk::format_texts {

inline constexpr const char* kFileErrorTitle = "ﾌｧｲﾙｴﾗｰ";
inline constexpr const char* kLoadFailed = "ﾌｫｰﾏｯﾄﾌｧｲﾙの読込みに失敗しました｡";
inline constexpr const char* kLoadFailedAsk = "は存在していますか?";
// A file with more field rows than a table can hold (its path goes first).
inline constexpr const char* kTooManyRows = "のﾌｨｰﾙﾄﾞ数が上限の32767行を超えています｡";
inline constexpr const char* kSaveFailed = "ﾌｫｰﾏｯﾄﾌｧｲﾙの保存に失敗しました｡";
inline constexpr const char* kSavePathLabel = "保存先: ";

inline constexpr const char* kInputErrorTitle = "入力ｴﾗｰ";
inline constexpr const char* kQuoteTooLong = "ﾃｷｽﾄの引用符は､1文字以下でなければなりません｡";
inline constexpr const char* kFileKindFromList = "ﾌｧｲﾙ形式の選択はｺﾝﾎﾞﾎﾞｯｸｽからしかできません｡";
inline constexpr const char* kEncodingFromList = "文字ｺｰﾄﾞの選択はｺﾝﾎﾞﾎﾞｯｸｽからしかできません｡";
inline constexpr const char* kLineEndFromList = "改行ｺｰﾄﾞの選択はｺﾝﾎﾞﾎﾞｯｸｽからしかできません｡";
// The record length and the record-type selection's start and length.
inline constexpr const char* kDigitsOnly = "数字しか入力できません｡";
inline constexpr const char* kRecordNumberTooLarge = "1から32767までの数字を入力してください｡";
// Before a save: a selection whose length is not its text's byte count
// would skip every record.
inline constexpr const char* kSelectionWrong1 = "｢対象ﾚｺｰﾄﾞ｣の指定が間違っています｡";
inline constexpr const char* kSelectionWrong2 =
    "位置は1以上､長さは文字のﾊﾞｲﾄ数(半角1､全角2)にしてください｡";

// Markers of the format file.
inline constexpr const char* kMarkerQuoteChar = "[!テキスト区切文字-文字]";
inline constexpr const char* kMarkerQuoteNum = "[!テキスト区切文字-数字]";
inline constexpr const char* kMarkerSeparatorChar = "[!フィールド間区切文字-文字]";
inline constexpr const char* kMarkerSeparatorNum = "[!フィールド間区切文字-数字]";
inline constexpr const char* kMarkerInputKind = "[!読込みファイル形式]";
inline constexpr const char* kMarkerOutputKind = "[!書出しファイル形式]";
inline constexpr const char* kMarkerExclude = "[!対象外範囲]";
inline constexpr const char* kMarkerWriteAsIs = "[!そのまま書込む範囲]";
inline constexpr const char* kMarkerNamesOnTop = "[!先頭に名前を付ける]";
inline constexpr const char* kMarkerHeader = "[!ヘッダー]";
inline constexpr const char* kMarkerFooter = "[!フッター]";
// Written only when they differ from Shift-JIS and CR+LF, so that a format
// which does not use them keeps its bytes; older readers ignore them.
inline constexpr const char* kMarkerOutputEncoding = "[!書出し文字コード]";
inline constexpr const char* kMarkerOutputLineEnd = "[!書出し改行]";
// Written only for a format that reads fixed-length records or converts only
// records of one type; older readers ignore them.
inline constexpr const char* kMarkerRecordLength = "[!レコード長]";
inline constexpr const char* kMarkerRecordSelection = "[!対象レコード]";
inline constexpr const char* kYes = "はい";
inline constexpr const char* kNo = "いいえ";

// Stored forms of the quote and separator settings.
inline constexpr const char* kStoredDoubleQuote = "ダブル";
inline constexpr const char* kStoredApostrophe = "シングル";
inline constexpr const char* kStoredComma = "カンマ";
inline constexpr const char* kStoredSemicolon = "セミコロン";
inline constexpr const char* kStoredSpace = " ";
inline constexpr const char* kStoredTab = "タブ";

// Stored forms of the two file kinds (full-width katakana).
inline constexpr const char* kStoredTextFile = "テキストファイル";
inline constexpr const char* kStoredDelimitedFile = "区切ファイル";

// The header and footer dialog.
inline constexpr const char* kHeaderCaption = "ﾍｯﾀﾞｰ･ﾌｯﾀｰ入力";
inline constexpr const char* kHeaderOk = "OK";
inline constexpr const char* kHeaderCancel = "ｷｬﾝｾﾙ";
inline constexpr const char* kHeaderLabel = "ﾍｯﾀﾞｰ";
inline constexpr const char* kFooterLabel = "ﾌｯﾀｰ";
inline constexpr const char* kClearMenu = "ｸﾘｱ(&C)";
inline constexpr const char* kClearBoth = "ﾍｯﾀﾞｰ･ﾌｯﾀｰの消去(&A)";
inline constexpr const char* kClearHeader = "ﾍｯﾀﾞｰの消去(&H)";
inline constexpr const char* kClearFooter = "ﾌｯﾀｰの消去(&F)";

// The editor's path while its format has no file, and after the user
// cancelled the choice of one.
inline constexpr const char* kUntitledFormat = "無題.qfd";
inline constexpr const char* kCancelledChoice = "Cancel";

// The chooser of the format to open.
inline constexpr const char* kChooserCaption = "ﾌｧｲﾙの選択";
inline constexpr const char* kChooseCurrent = "今のﾌｧｲﾙを開く";
inline constexpr const char* kChooseExisting = "既存のﾌｧｲﾙを開く";
inline constexpr const char* kChooseNew = "新規ﾌｧｲﾙの作成";
inline constexpr const char* kChooserOk = "OK";
inline constexpr const char* kChooserCancel = "ｷｬﾝｾﾙ";

} // namespace quisk::format_texts
