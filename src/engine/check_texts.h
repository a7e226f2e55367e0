#pragma once

// The texts of the whole-file check of a source against a layout, in one place.
namespace quisk::check_texts {

inline constexpr const char* kErrorTitle = "ｴﾗｰ";
inline constexpr const char* kNoSource = "元ﾌｧｲﾙは存在しません｡";
inline constexpr const char* kNoFormat = "ﾌｫｰﾏｯﾄﾌｧｲﾙは存在しません｡";
inline constexpr const char* kReadFailed = "元ﾌｧｲﾙの読み込みに失敗しました｡";

inline constexpr const char* kSource = "元ﾌｧｲﾙ: ";
inline constexpr const char* kFormat = "ﾌｫｰﾏｯﾄﾌｧｲﾙ: ";
inline constexpr const char* kLinesRead = "読込み行数: ";

// A cut names the field: "ﾌｫｰﾏｯﾄ" + row + "行目｢" + name + "｣が" + what.
inline constexpr const char* kFieldRow1 = "ﾌｫｰﾏｯﾄ";
inline constexpr const char* kFieldRow2 = "行目｢";
inline constexpr const char* kFieldRow3 = "｣が";
inline constexpr const char* kStartCut = "2ﾊﾞｲﾄ文字の途中から始まる行";
inline constexpr const char* kEndCut = "2ﾊﾞｲﾄ文字の途中で終わる行";
inline constexpr const char* kShortLine = "最後のﾌｨｰﾙﾄﾞより短い行";
inline constexpr const char* kDroppedBytes = "最後のﾌｨｰﾙﾄﾞより後ろが書き込まれない行";
inline constexpr const char* kInvalidBytes = "Shift-JISにないﾊﾞｲﾄを含む行";
inline constexpr const char* kLoneLineFeed = "CRのないLFを含む行";
inline constexpr const char* kLoneCarriageReturn = "LFのないCRで終わる行";

// ": " + count + "件 (" + lines joined by ", " + "行目" + more + ")"
inline constexpr const char* kCount = "件";
inline constexpr const char* kLines = "行目";
inline constexpr const char* kMoreLines = " ほか";

// Fixed-length records: "ﾚｺｰﾄﾞ長: 120ﾊﾞｲﾄ(改行なし)", the records of each
// type ("ﾚｺｰﾄﾞの種類: 1=1件, 2=20件") and a short last record.
inline constexpr const char* kRecordLength = "ﾚｺｰﾄﾞ長: ";
inline constexpr const char* kBytesWithLineEnds = "ﾊﾞｲﾄ(各ﾚｺｰﾄﾞの後に改行あり)";
inline constexpr const char* kBytesWithoutLineEnds = "ﾊﾞｲﾄ(改行なし)";
inline constexpr const char* kRecordTypes = "ﾚｺｰﾄﾞの種類: ";
inline constexpr const char* kShortLastRecord1 = "最後のﾚｺｰﾄﾞがﾚｺｰﾄﾞ長より短い: ";
inline constexpr const char* kShortLastRecord2 = "ﾊﾞｲﾄ";

inline constexpr const char* kClean = "問題は見つかりませんでした｡";
inline constexpr const char* kProblemsFound = "問題が見つかりました｡";

} // namespace quisk::check_texts
