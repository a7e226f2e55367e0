#pragma once

// The texts of the special row settings dialog.
namespace quisk::engine_texts {

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

} // namespace quisk::engine_texts
