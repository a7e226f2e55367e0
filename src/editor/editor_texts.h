#pragma once

#include <string>

// The texts the format editor and its dialogs show the user, in one place.
namespace quisk::editor_texts {

// Field-type changes: the confirmation of the "every named row" commands.
inline constexpr const char* kConvertConfirmTitle = "変換確認";
inline constexpr const char* kAllTypesAsk1 = "全てのﾌｨｰﾙﾄﾞﾀｲﾌﾟを｢";
inline constexpr const char* kAllTypesAsk2 = "｣に一括で変更します";

inline std::string allTypesQuestion(const std::string& type) {
    return kAllTypesAsk1 + type + kAllTypesAsk2;
}

// The type-change dialog.
inline constexpr const char* kChangeCaption = "ﾌｨｰﾙﾄﾞﾀｲﾌﾟの一括変更";
inline constexpr const char* kChangeFrom = "を";
inline constexpr const char* kChangeTo = "に変換";
inline constexpr const char* kChangeOk = "OK";
inline constexpr const char* kChangeCancel = "ｷｬﾝｾﾙ";

// The answer of a cancelled type-change dialog.
inline constexpr const char* kCancelAnswer = "Cancel";

// Window and grid.
inline constexpr const char* kCaptionPrefix = "ﾌｫｰﾏｯﾄ設定 - [ ";
inline constexpr const char* kCaptionSuffix = " ]";

inline constexpr const char* kFrameSepa = "区切文字";
inline constexpr const char* kLblSepaTxt = "ﾃｷｽﾄ ";
inline constexpr const char* kLblSepa = "ﾌｨｰﾙﾄﾞ間";
inline constexpr const char* kLblSepaChar = "Char";
inline constexpr const char* kLblSepaNum = "Num";
inline constexpr const char* kChkFieldName = "ﾌｨｰﾙﾄﾞ名を先頭に付ける";
inline constexpr const char* kLblFromFile = "を読込み､";
inline constexpr const char* kLblToFile = "に書出す｡";
inline constexpr const char* kLblToCode = "文字ｺｰﾄﾞ･改行";
inline constexpr const char* kLblRecordLength = "ﾚｺｰﾄﾞ長";
inline constexpr const char* kLblSelect = "対象ﾚｺｰﾄﾞ";
inline constexpr const char* kLblSelectStart = "位置";
inline constexpr const char* kLblSelectLength = "長さ";
inline constexpr const char* kLblSelectText = "文字";
inline constexpr const char* kRecordLengthTip = "固定長ﾚｺｰﾄﾞのﾊﾞｲﾄ数｡0か空は1行を1ﾚｺｰﾄﾞとして読みます｡";
inline constexpr const char* kSelectTip = "この位置のﾊﾞｲﾄが文字と同じﾚｺｰﾄﾞだけを変換します｡";
inline constexpr const char* kCmdHeader = "ﾍｯﾀﾞｰ･ﾌｯﾀｰ";
inline constexpr const char* kCmdClose = "閉じる";

inline constexpr const char* kTitles[6] = {"ﾌｨｰﾙﾄﾞ名",   "開始位置", "長さ",
                                           "ﾌｨｰﾙﾄﾞﾀｲﾌﾟ", "固定処理", "備考欄"};

// The cell the edit line edits, as its tooltip names it: "3行目 ﾌｨｰﾙﾄﾞ名".
inline constexpr const char* kCellRowSuffix = "行目 ";

inline std::string cellName(int row, int col) {
    return std::to_string(row) + kCellRowSuffix + kTitles[col - 1];
}

// Refused input.
inline constexpr const char* kInputErrorTitle = "入力ｴﾗｰ";
inline constexpr const char* kDigitsOnly = "数字しか入力できません｡";

// Validation before saving; each message follows the row number.
inline constexpr const char* kCellErrorTitle = "ｾﾙ入力ｴﾗｰ";
inline constexpr const char* kFixedValueAlone =
    "行目:｢固定処理｣を入力した場合は､その行の｢ﾌｨｰﾙﾄﾞ名｣以外に値を入力しないでください｡";
inline constexpr const char* kRemarksOnly = "行目:｢備考欄｣しか入力されていません｡";
inline constexpr const char* kFillAllFour =
    "行目:｢ﾌｨｰﾙﾄﾞ名｣｢開始位置｣｢長さ｣｢ﾌｨｰﾙﾄﾞﾀｲﾌﾟ｣すべてを埋めてください｡";
inline constexpr const char* kDigitsInPosition =
    "行目:｢開始位置｣｢長さ｣ﾌｨｰﾙﾄﾞには数字以外入力しないでください｡";
inline constexpr const char* kTypeCharOrNum = "行目:ﾌｨｰﾙﾄﾞﾀｲﾌﾟは｢Char｣または｢Num｣だけです｡";
inline constexpr const char* kNoZero = "行目:｢開始位置｣｢長さ｣に｢0｣は入力できません｡";
inline constexpr const char* kGapQuestion1 = "ｾﾙは上に詰めて入力してください｡";
inline constexpr const char* kGapQuestion2 = "ﾌﾞﾗﾝｸ行が間にあるとそれ以下のｾﾙは保存されません｡";
inline constexpr const char* kGapQuestion3 = "このまま保存しますか?";

// File commands.
inline constexpr const char* kFileFilter = "ﾌｫｰﾏｯﾄﾌｧｲﾙ形式|*.qfd|すべてのﾌｧｲﾙ|*.*";
inline constexpr const char* kOpenTitle = "ﾌｫｰﾏｯﾄﾌｧｲﾙを開く";
inline constexpr const char* kFirstSaveTitle = "ﾌｫｰﾏｯﾄﾌｧｲﾙの保存";
inline constexpr const char* kSaveAsTitle = "名前を付けて保存";
inline constexpr const char* kUnsaved1 = "ﾌｫｰﾏｯﾄに変更が加えられています｡";
inline constexpr const char* kUnsaved2 = "ﾌｧｲﾙを保存しますか?";
inline constexpr const char* kSaveConfirmTitle = "保存確認";
inline constexpr const char* kSaveFailed = "保存に失敗しました｡";
inline constexpr const char* kSaveErrorTitle = "保存ｴﾗｰ";
inline constexpr const char* kExists1 = "既に同名ﾌｧｲﾙが存在しています｡";
inline constexpr const char* kExists2 = "上書きしますか?";
inline constexpr const char* kOverwriteTitle = "上書確認";
inline constexpr const char* kUseForJob = "このﾌｫｰﾏｯﾄを処理で使用するように設定しますか?";
inline constexpr const char* kConfirmTitle = "確認";

// Menus, in menu-bar order.
inline constexpr const char* kMnuFile = "ﾌｧｲﾙ(&F)";
inline constexpr const char* kMnuOpen = "ﾌｧｲﾙを開く(&O)";
inline constexpr const char* kMnuOverWrite = "上書き保存(&V)"; // O is open's
inline constexpr const char* kMnuSaveAs = "名前を付けて保存(&S)";
inline constexpr const char* kMnuEdit = "編集(&E)";
inline constexpr const char* kMnuUndo = "元に戻す";
inline constexpr const char* kMnuRedo = "やり直し";
inline constexpr const char* kMnuCopy = "ｺﾋﾟｰ(&C)";
inline constexpr const char* kMnuCut = "切り取り(&T)";
inline constexpr const char* kMnuPaste = "貼り付け(&P)";
inline constexpr const char* kMnuAddRow = "行の挿入(&I)";
inline constexpr const char* kMnuKillRow = "行の削除(&D)";
inline constexpr const char* kMnuAdd10Rows = "10行挿入(&R)";   // S is the selection's
inline constexpr const char* kMnuClrCell = "選択ｾﾙの消去(&L)"; // C is copy's
inline constexpr const char* kMnuClrSel = "選択範囲の消去(&S)";
inline constexpr const char* kMnuDisplay = "表示(&D)";
inline constexpr const char* kMnuRowUndisp = "選択行の非表示(&R)";
inline constexpr const char* kMnuColUndisp = "選択列の非表示(&C)";
inline constexpr const char* kMnuUndisp = "非表示の解除(&U)";
inline constexpr const char* kMnuPreview = "ﾌﾟﾚﾋﾞｭｰ(&P)";
inline constexpr const char* kMnuSuggest = "区切り位置を推定(&G)";
inline constexpr const char* kMnuChange = "一括変更(&C)";
inline constexpr const char* kMnuAllChar = "全てをCharに変換(&C)";
inline constexpr const char* kMnuAllNum = "全てをNumに変換(&N)";
inline constexpr const char* kMnuStrChar = "任意の文字をCharに変換(&S)";
inline constexpr const char* kMnuStrNum = "任意の文字をNumに変換(&I)";
inline constexpr const char* kMnuChangeChar = "Charに変換(&H)"; // C is copy's
inline constexpr const char* kMnuChangeNum = "Numに変換(&N)";
inline constexpr const char* kMnuOption = "ｵﾌﾟｼｮﾝ(&O)";
inline constexpr const char* kMnuHeaderFooter = "ﾍｯﾀﾞｰ･ﾌｯﾀｰ(&H)";
inline constexpr const char* kMnuRowOption = "特別列処理設定(&R)";
inline constexpr const char* kMnuPopup = "ﾎﾟｯﾌﾟｱｯﾌﾟ(&P)";

// The preview pane.
inline constexpr const char* kPreviewTitle = "ﾌﾟﾚﾋﾞｭｰ";
inline constexpr const char* kSampleButton = "ﾌｧｲﾙを選ぶ...";
inline constexpr const char* kSampleDialogTitle = "ﾌﾟﾚﾋﾞｭｰするﾌｧｲﾙ";
inline constexpr const char* kSampleFilter = "ﾃｷｽﾄﾌｧｲﾙ|*.txt|すべてのﾌｧｲﾙ|*.*";
inline constexpr const char* kNoSample = "ﾌﾟﾚﾋﾞｭｰするﾌｧｲﾙがありません｡";
inline constexpr const char* kSampleUnreadable = "読み込めません: ";
inline constexpr const char* kSampleNotAFile = "通常のﾌｧｲﾙではありません";
inline constexpr const char* kSampleHead = "先頭 "; // "先頭 1000 行"
inline constexpr const char* kSampleLines = " 行";
inline constexpr const char* kSampleRecords = " ﾚｺｰﾄﾞ";
inline constexpr const char* kSuggestButton = "区切り位置を推定";
inline constexpr const char* kAcceptAll = "すべて採用";
inline constexpr const char* kDropSuggestions = "推定を消す";
inline constexpr const char* kNoSuggestions = "推定できる区切り位置はありません｡";
inline constexpr const char* kSuggestionTip = "ｸﾘｯｸで採用: 開始位置 ";
inline constexpr const char* kExcludedLabel = "対象外";
inline constexpr const char* kAsIsLabel = "そのまま";
inline constexpr const char* kSkippedLabel = "対象ﾚｺｰﾄﾞ外";
inline constexpr const char* kNoProblems = "問題なし";
inline constexpr const char* kProblemNames[] = {"開始位置で2ﾊﾞｲﾄ文字を分断",
                                                "終了位置で2ﾊﾞｲﾄ文字を分断",
                                                "短い行",
                                                "書き込まれないﾊﾞｲﾄ",
                                                "Shift-JISにないﾊﾞｲﾄ",
                                                "CRのないLF",
                                                "LFのないCR"};
inline constexpr const char* kTipName = "ﾌｨｰﾙﾄﾞ名: ";
inline constexpr const char* kTipStart = "開始位置: ";
inline constexpr const char* kTipLength = "長さ: ";
inline constexpr const char* kTipRestOfLine = "行末まで";
inline constexpr const char* kTipValue = "値: ";

// A field made by a split on the byte ruler: "ﾌｨｰﾙﾄﾞ" + its start position.
inline constexpr const char* kNewFieldName = "ﾌｨｰﾙﾄﾞ";

} // namespace quisk::editor_texts
