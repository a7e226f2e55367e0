#pragma once

#include "common/common_texts.h"
#include "common/message_box.h"

#include <cerrno>
#include <string>

// The texts a run shows the user and writes to its log, in one place.
namespace quisk::engine_texts {

inline constexpr const char* kErrorTitle = "ｴﾗｰ";
inline constexpr const char* kConfirmTitle = "確認";
inline constexpr const char* kOverwriteTitle = "上書確認";

inline constexpr const char* kPathsRequired1 = "元ﾌｧｲﾙ､先ﾌｧｲﾙ､ﾌｫｰﾏｯﾄﾌｧｲﾙは必ず入力";
inline constexpr const char* kPathsRequired2 = "しなければいけません｡";
inline constexpr const char* kNoSource = "元ﾌｧｲﾙは存在しません｡";
inline constexpr const char* kOverwrite = "同名ﾌｧｲﾙが存在します｡上書きしますか?";
inline constexpr const char* kNoFormat = "ﾌｫｰﾏｯﾄﾌｧｲﾙは存在しません｡";
inline constexpr const char* kNoDestinationFolder = "先ﾌｧｲﾙのﾌｫﾙﾀﾞは存在しません｡";

// The lines added to a missing-path message: where the run looked and, for a
// relative path that names something beside the job file, how to run from there.
inline constexpr const char* kPathTried = "探したﾊﾟｽ: ";
inline constexpr const char* kFoundBesideJob = "処理ﾌｧｲﾙのﾌｫﾙﾀﾞにはあります: ";
inline constexpr const char* kRelativeToStart = "相対ﾊﾟｽは起動したﾌｫﾙﾀﾞを基準にします｡";
inline constexpr const char* kRunnerStartFrom = "処理ﾌｧｲﾙのﾌｫﾙﾀﾞから実行してください: ";
inline constexpr const char* kStartWindowFrom1 = "Quiskを処理ﾌｧｲﾙのﾌｫﾙﾀﾞ｢";
inline constexpr const char* kStartWindowFrom2 = "｣から起動してください｡";
inline constexpr const char* kFieldNamesFailed =
    "ﾌｨｰﾙﾄﾞ名読み取り時にﾌｫｰﾏｯﾄﾌｧｲﾙの読み込みに失敗しました｡";
inline constexpr const char* kCompleted = "件のﾃﾞｰﾀの保存が終了しました｡";
inline constexpr const char* kFailedAt = "件目でﾃﾞｰﾀの保存に失敗しました｡";
// The second line of the completion message when bytes could not be put
// into UTF-8; the count of U+FFFD written goes in front.
inline constexpr const char* kReplaced = "文字をUTF-8に変換できず､U+FFFDに置き換えました｡";
// Lines a run of fixed-length records or of selected records adds to the
// completion message and the log.
inline constexpr const char* kSkipped = "件のﾚｺｰﾄﾞは対象ﾚｺｰﾄﾞではないため飛ばしました｡";
inline constexpr const char* kShortLast1 = "最後のﾚｺｰﾄﾞは";
inline constexpr const char* kShortLast2 = "ﾊﾞｲﾄで､ﾚｺｰﾄﾞ長より短いまま変換しました｡";
inline constexpr const char* kRecordLength = "ﾚｺｰﾄﾞ長";
inline constexpr const char* kWithLineEnds = "ﾊﾞｲﾄ､各ﾚｺｰﾄﾞの後に改行(CR LF)あり｡";
inline constexpr const char* kWithoutLineEnds = "ﾊﾞｲﾄ､改行なし｡";
inline constexpr const char* kSelectionUnusable =
    "対象ﾚｺｰﾄﾞの指定が正しくありません(開始位置は1以上､長さは文字のﾊﾞｲﾄ数)｡";
inline constexpr const char* kRecordLengthsDiffer =
    "処理のﾌｫｰﾏｯﾄのﾚｺｰﾄﾞ長が一致しません｡1回の読込みで変換するため､同じﾚｺｰﾄﾞ長にしてください｡";
inline constexpr const char* kDestinationsJoin = "､";
inline constexpr const char* kLogRead = "を読込み､";
inline constexpr const char* kLogWritten = "に書込む｡";
inline constexpr const char* kAfterRunFailed1 = "処理後実行ﾌｧｲﾙ｢";
inline constexpr const char* kAfterRunFailed2 = "｣を実行できませんでした｡";
inline constexpr const char* kLogFileName = "Quisk.log";
// How the log and messages name the streams of quisk-run's "-".
inline constexpr const char* kStandardInput = "(標準入力)";
inline constexpr const char* kStandardOutput = "(標準出力)";

// The lines a failure message adds under its fixed text: the file and why.
inline constexpr const char* kSourceLabel = "入力元: ";
inline constexpr const char* kDestinationLabel = "出力先: ";
inline constexpr const char* kFormatLabel = "ﾌｫｰﾏｯﾄﾌｧｲﾙ: ";
inline constexpr const char* kDestinationKept = "出力先の元の内容はそのまま残っています｡";
inline constexpr const char* kDestinationDamaged =
    "出力先は上書きの途中で失敗したため､内容が不完全です｡";
inline constexpr const char* kDestinationTwice = "同じ先ﾌｧｲﾙが2回指定されています｡";
inline constexpr const char* kDestinationIsFolder = "先ﾌｧｲﾙにﾌｫﾙﾀﾞが指定されています｡";

// A run whose source, destination or format is the log itself.
inline constexpr const char* kSourceIsLog = "元ﾌｧｲﾙ";
inline constexpr const char* kDestinationIsLog = "先ﾌｧｲﾙ";
inline constexpr const char* kFormatIsLog = "ﾌｫｰﾏｯﾄﾌｧｲﾙ";
inline constexpr const char* kIsLog1 = "にﾛｸﾞﾌｧｲﾙ｢";
inline constexpr const char* kIsLog2 = "｣は指定できません｡";

// The line quisk-run adds when the log could not be written, and why.
inline constexpr const char* kLogNotWritten1 = "ﾛｸﾞﾌｧｲﾙ｢";
inline constexpr const char* kLogNotWritten2 = "｣は書き込まれませんでした｡";
inline constexpr const char* kLogIsLink = "シンボリックリンクには書き込みません｡";
inline constexpr const char* kLogHasOtherNames = "ほかの名前(ハードリンク)を持つファイルには書き込みません｡";

// Why a program could not be started, where the causes of a failed file
// access do not say it.
inline constexpr const char* kCauseNoExecPermission = "実行の権限がありません｡";
inline constexpr const char* kCauseNotExecutable = "実行できる形式のファイルではありません｡";
inline constexpr const char* kCauseUnbalancedQuote = "引用符が閉じていません｡";

// The special row settings dialog.
inline constexpr const char* kRowOptionCaption = "特別列処理設定";
inline constexpr const char* kRowFrom = "行目から";
inline constexpr const char* kRowExcluded = "行目は処理の対象外にする｡";
inline constexpr const char* kRowWrittenAsIs = "行目はそのまま書き込む｡";
inline constexpr const char* kRowClearAll = "全てをｸﾘｱする";
inline constexpr const char* kRowOk = "OK";
inline constexpr const char* kRowCancel = "ｷｬﾝｾﾙ";
inline constexpr const char* kRowOverlapNote = "※ 重複した場合､書込みより対象外の方が強い｡";

inline constexpr const char* kInputErrorTitle = "入力ｴﾗｰ";
inline constexpr const char* kDigitsOnly = "数字しか入力できません｡";
inline constexpr const char* kExcludedRangeWrong = "｢対象外｣の範囲が間違っています｡";
inline constexpr const char* kWrittenAsIsRangeWrong = "｢そのまま書き込む｣の範囲が間違っています｡";

// Why a program could not be started: EINVAL stands for a command line
// whose quotes do not close.
inline std::string startFailureText(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return kCauseNoExecPermission;
    case ENOEXEC:
        return kCauseNotExecutable;
    case EINVAL:
        return kCauseUnbalancedQuote;
    }
    return common_texts::causeText(error, false);
}

inline std::string logNotWrittenText(const std::string& path, const std::string& problem) {
    return kLogNotWritten1 + path + kLogNotWritten2 + problem;
}

inline std::string completedText(long long count) { return std::to_string(count) + kCompleted; }
inline std::string failedText(long long count) { return std::to_string(count) + kFailedAt; }
inline std::string replacedText(long long replaced) { return std::to_string(replaced) + kReplaced; }

inline Message completionMessage(long long count, long long replaced = 0) {
    std::string text = completedText(count);
    if (replaced > 0)
        text += "\r" + replacedText(replaced);
    return {text, kConfirmTitle, Icon::Information};
}
inline Message failureMessage(long long count) {
    return {failedText(count), kErrorTitle, Icon::Stop};
}

} // namespace quisk::engine_texts
