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

} // namespace quisk::editor_texts
