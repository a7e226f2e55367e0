#pragma once

#include "common/common_texts.h"

#include <string>

// The texts of jobs, start-up and the headless runner, in one place.
namespace quisk::app_texts {

inline constexpr const char* kErrorTitle = "ｴﾗｰ";
inline constexpr const char* kJobReadFailed = "処理ﾌｧｲﾙの読み込みに失敗しました｡";
inline constexpr const char* kJobFileLabel = "処理ﾌｧｲﾙ: ";

// The runner cannot ask; it says how to allow what the question would ask.
inline constexpr const char* kRunnerOverwriteHint =
    "上書きする場合は --overwrite を指定してください｡";

// Many sources into one folder (--output-dir).
inline constexpr const char* kOutputFolderMissing = "出力先のﾌｫﾙﾀﾞは存在しません｡";
inline constexpr const char* kOutputFolderLabel = "出力先ﾌｫﾙﾀﾞ: ";
inline constexpr const char* kSameDestination1 = "元ﾌｧｲﾙ｢";
inline constexpr const char* kSameDestination2 = "｣と出力先が同じになるため､変換しません｡";
inline constexpr const char* kOwnSource = "出力先が元ﾌｧｲﾙ自身になるため､変換しません｡";
inline constexpr const char* kDestinationLine = "出力先: ";
inline constexpr const char* kBatchFiles = "ﾌｧｲﾙ中";
inline constexpr const char* kBatchConverted = "ﾌｧｲﾙを変換しました｡";
inline constexpr const char* kBatchRecords = "件､";
inline constexpr const char* kBatchBytes = "ﾊﾞｲﾄ､";
inline constexpr const char* kBatchSeconds = "秒｡失敗: ";
inline constexpr const char* kBatchFailures = "ﾌｧｲﾙ";
inline constexpr const char* kBatchFailedList = "変換できなかったﾌｧｲﾙ:";

// Whether a format's output may be made from pieces of a source (--splittable).
inline constexpr const char* kSplittableYes = "yes";
inline constexpr const char* kSplittableNo = "no";
inline constexpr const char* kSplitFieldNames = "ﾌｨｰﾙﾄﾞ名の行を先頭に付けます｡";
inline constexpr const char* kSplitHeader = "ﾍｯﾀﾞｰがあります｡";
inline constexpr const char* kSplitFooter = "ﾌｯﾀｰがあります｡";
inline constexpr const char* kSplitExcluded = "対象外にする行の範囲があります｡";
inline constexpr const char* kSplitAsIs = "そのまま書き込む行の範囲があります｡";
inline constexpr const char* kSplitByteOrderMark = "出力の先頭にBOMを書き込みます｡";
inline constexpr const char* kSplitRecordLength =
    "ﾚｺｰﾄﾞ長があります(改行のないﾚｺｰﾄﾞは行で分けられません)｡";

// Jobs: captions, file dialogs and messages of the job commands.
inline constexpr const char* kDesignCaption = "Quisk";
inline constexpr const char* kCaptionOpen = "Quisk - [ ";
inline constexpr const char* kCaptionClose = " ]";
inline constexpr const char* kUntitledJob = "無題.dof";
inline constexpr const char* kConfirmTitle = "確認";
inline constexpr const char* kJobOpenTitle = "処理ﾌｧｲﾙを開く";
inline constexpr const char* kJobOpenFilter = "処理ﾌｧｲﾙ|*.dof|すべてのﾌｧｲﾙ|*.*";
inline constexpr const char* kJobSaveTitle = "処理ﾌｧｲﾙの保存";
inline constexpr const char* kJobSaveAsTitle = "名前を付けて保存";
inline constexpr const char* kJobSaveFilter = "処理ﾌｧｲﾙ形式|*.dof|すべてのﾌｧｲﾙ|*.*";
inline constexpr const char* kSaveCancelled = "保存はｷｬﾝｾﾙされました｡";
inline constexpr const char* kJobExists1 = "既に同名ﾌｧｲﾙが存在しています｡";
inline constexpr const char* kJobExists2 = "上書きしますか?";
inline constexpr const char* kJobExistsTitle = "上書き確認";
inline constexpr const char* kJobWriteFailed1 = "処理ﾌｧｲﾙ｢";
inline constexpr const char* kJobWriteFailed2 = "｣の書込みに失敗しました｡";
inline constexpr const char* kJobChanged1 = "処理ﾌｧｲﾙに変更が加えられています｡";
inline constexpr const char* kJobChanged2 = "処理ﾌｧｲﾙを保存しますか?";
inline constexpr const char* kJobChangedTitle = "保存確認";

// Start-up, the command line and help.
inline constexpr const char* kDefaultJobFile = "Quisk.dof";
inline constexpr const char* kHelpFile = "Quisk.hlp";
inline constexpr const char* kUnattendedSwitch = "/I";
inline constexpr const char* kStartupFailed1 = "ﾃﾞﾌｫﾙﾄ処理ﾌｧｲﾙ(Quisk.dof)の読み込みに失敗､";
inline constexpr const char* kStartupFailed2 = "またはﾊﾟﾗﾒｰﾀに誤りがあります｡";
inline constexpr const char* kStartupFailed3 = "次の画面で他の処理ﾌｧｲﾙを選択してください｡";
inline constexpr const char* kParameterTitle = "ﾊﾟﾗﾒｰﾀｴﾗｰ";
inline constexpr const char* kParameterQuote = "ﾊﾟﾗﾒｰﾀは､｢\"｣で囲んでください｡";
inline constexpr const char* kParameterNoFile = "ﾊﾟﾗﾒｰﾀで指定されたﾌｧｲﾙは存在しません｡";
inline constexpr const char* kHelpMissing1 = "ﾍﾙﾌﾟﾌｧｲﾙ｢";
inline constexpr const char* kHelpMissing2 = "｣が見つかりません｡";
inline constexpr const char* kHelpFailed2 = "｣を開けませんでした｡";

// The desktop program started without a display (standard error).
inline constexpr const char* kNoDisplay =
    "quisk: ﾃﾞｨｽﾌﾟﾚｲがありません(DISPLAY も WAYLAND_DISPLAY も設定されていません)｡";
inline constexpr const char* kDisplayFailed =
    "quisk: ﾃﾞｨｽﾌﾟﾚｲに接続できません(画面表示用のﾌﾟﾗｸﾞｲﾝを開始できませんでした)｡";
inline constexpr const char* kRunWithoutDisplay =
    "Quiskの画面にはﾃﾞｽｸﾄｯﾌﾟが必要です｡ﾃﾞｨｽﾌﾟﾚｲなしで処理を実行するには:\n"
    "  quisk-run 処理ﾌｧｲﾙ.dof                      (画面を使わずに変換します)\n"
    "  quisk -platform offscreen 処理ﾌｧｲﾙ.dof /I   (画面を表示せずに処理を実行します)\n";

// The help window.
inline constexpr const char* kHelpTitle = "Quiskﾍﾙﾌﾟ";
inline constexpr const char* kHelpContents = "目次";
inline constexpr const char* kHelpBack = "戻る";
inline constexpr const char* kHelpForward = "進む";
inline constexpr const char* kHelpHome = "最初へ";
inline constexpr const char* kHelpSearch = "検索";
inline constexpr const char* kHelpHits = "%1件"; // %1: how many places match
inline constexpr const char* kHelpNoHits = "見つかりません";

// The main window: captions, tooltips, browse dialogs and menus.
inline constexpr const char* kRunCaption = "実行";
inline constexpr const char* kRunningCaption = "処理中...";
inline constexpr const char* kRunTip = "このﾎﾞﾀﾝで処理を実行します";
inline constexpr const char* kFormatCaption = "ﾌｫｰﾏｯﾄﾌｧｲﾙの編集";
inline constexpr const char* kFormatTip = "ﾌｫｰﾏｯﾄﾌｧｲﾙの編集画面を開きます";
inline constexpr const char* kExitCaption = "終了";
inline constexpr const char* kExitTip = "終了しちゃうんですか?";
inline constexpr const char* kJobNameTip = "この処理の名前を入力します";
inline constexpr const char* kOverwriteCaption = "先ﾌｧｲﾙが存在したら上書きする";
inline constexpr const char* kExitAfterRunCaption = "処理終了後､Quiskを終了する｡";
inline constexpr const char* kSourceTip = "元になるﾌｧｲﾙのﾊﾟｽを入力します";
inline constexpr const char* kDestinationTip = "書込み先になるﾌｧｲﾙのﾊﾟｽを入力します";
inline constexpr const char* kFormatPathTip = "処理ﾌｫｰﾏｯﾄﾌｧｲﾙのﾊﾟｽを入力します";
inline constexpr const char* kAfterRunTip = "処理後実行するﾊﾞｯﾁ･実行ﾌｧｲﾙのﾊﾟｽを入力します";
inline constexpr const char* kSourceLabel = "元ﾌｧｲﾙﾊﾟｽ:";
inline constexpr const char* kDestinationLabel = "先ﾌｧｲﾙﾊﾟｽ:";
inline constexpr const char* kFormatLabel = "ﾌｫｰﾏｯﾄﾌｧｲﾙﾊﾟｽ:";
inline constexpr const char* kAfterRunLabel = "処理終了後ﾊﾞｯﾁ･実行ﾌｧｲﾙﾊﾟｽ(任意):";
inline constexpr const char* kBrowseSourceTitle = "元ﾌｧｲﾙを開く";
inline constexpr const char* kBrowseSourceFilter = "ﾃｷｽﾄﾌｧｲﾙ|*.txt|CSV形式|*.csv|すべてのﾌｧｲﾙ|*.*";
inline constexpr const char* kBrowseDestinationTitle = "先ﾌｧｲﾙを開く";
inline constexpr const char* kBrowseDestinationFilter =
    "CSV形式|*.csv|ﾃｷｽﾄﾌｧｲﾙ|*.txt|すべてのﾌｧｲﾙ|*.*";
inline constexpr const char* kBrowseFormatTitle = "ﾌｫｰﾏｯﾄﾌｧｲﾙを開く";
inline constexpr const char* kBrowseFormatFilter = "ﾌｫｰﾏｯﾄﾌｧｲﾙ形式|*.qfd|すべてのﾌｧｲﾙ|*.*";
inline constexpr const char* kBrowseFormatInitial = "*.qfd";
inline constexpr const char* kBrowseAfterRunTitle = "ﾊﾞｯﾁ･実行ﾌｧｲﾙを開く";
inline constexpr const char* kBrowseAfterRunFilter =
    "実行ﾌｧｲﾙ|*.exe|ﾊﾞｯﾁ形式|*.bat|すべてのﾌｧｲﾙ|*.*";
inline constexpr const char* kMenuFile = "ﾌｧｲﾙ(&F)";
inline constexpr const char* kMenuNew = "新規作成(&N)";
inline constexpr const char* kMenuOpen = "処理ﾌｧｲﾙを開く(&O)";
inline constexpr const char* kMenuSave = "処理ﾌｧｲﾙの上書き保存(&V)";
inline constexpr const char* kMenuSaveAs = "処理ﾌｧｲﾙを名前を付けて保存(&E)";
inline constexpr const char* kMenuExit = "終了(&X)";
// Further (format, destination) pairs of the job: the File menu item that
// adds the first, and the table that holds them under the job's boxes.
inline constexpr const char* kMenuAddPair = "ﾌｫｰﾏｯﾄと先ﾌｧｲﾙの組を追加(&P)";
inline constexpr const char* kPairsLabel = "同じ元ﾌｧｲﾙを続けて変換するﾌｫｰﾏｯﾄと先ﾌｧｲﾙ:";
inline constexpr const char* kPairFormatTitle = "ﾌｫｰﾏｯﾄﾌｧｲﾙ";
inline constexpr const char* kPairDestinationTitle = "先ﾌｧｲﾙ";
inline constexpr const char* kPairAdd = "追加";
inline constexpr const char* kPairRemove = "削除";
inline constexpr const char* kPairsTip = "元ﾌｧｲﾙを1回読む間に､組ごとに別の先ﾌｧｲﾙへ書き出します｡";
inline constexpr const char* kMenuHelp = "ﾍﾙﾌﾟ(&H)";
inline constexpr const char* kMenuQuiskHelp = "Quiskﾍﾙﾌﾟ(&E)";
inline constexpr const char* kMenuVersion = "ﾊﾞｰｼﾞｮﾝ情報(&V)";

// The about window.
inline constexpr const char* kVersionTitle = "ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr const char* kVersionLabel = "Quisk Version 1.0";
inline constexpr const char* kOkCaption = "OK";

// A job file that could not be read: the fixed text, and when the file
// itself could not be read (error not 0), its path and the cause.
inline std::string jobReadFailedText(const std::string& path, int error) {
    std::string text = kJobReadFailed;
    if (error != 0)
        text += "\r" + (kJobFileLabel + path) + "\r" + common_texts::causeText(error, false);
    return text;
}

// A job file that could not be written: the fixed text with its path, and
// the cause when one is known.
inline std::string jobWriteFailedText(const std::string& path, int error) {
    std::string text = kJobWriteFailed1 + path + kJobWriteFailed2;
    if (error != 0)
        text += "\r" + common_texts::causeText(error, true);
    return text;
}

inline std::string missingOutputFolderText(const std::string& folder) {
    return kOutputFolderMissing + ("\r" + (kOutputFolderLabel + folder));
}

inline std::string sameDestinationText(const std::string& firstSource,
                                       const std::string& destination) {
    return kSameDestination1 + firstSource + kSameDestination2 + "\r" + kDestinationLine +
           destination;
}

inline std::string ownSourceText(const std::string& destination) {
    return kOwnSource + ("\r" + (kDestinationLine + destination));
}

// "50ﾌｧｲﾙ中49ﾌｧｲﾙを変換しました｡819672件､100000000ﾊﾞｲﾄ､3.21秒｡失敗: 1ﾌｧｲﾙ"
inline std::string batchSummaryText(long long files, long long converted, long long records,
                                    long long bytes, const std::string& seconds) {
    return std::to_string(files) + kBatchFiles + std::to_string(converted) + kBatchConverted +
           std::to_string(records) + kBatchRecords + std::to_string(bytes) + kBatchBytes + seconds +
           kBatchSeconds + std::to_string(files - converted) + kBatchFailures;
}

} // namespace quisk::app_texts
