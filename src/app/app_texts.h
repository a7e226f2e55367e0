#pragma once

// The texts of jobs, start-up and the headless runner, in one place.
namespace quisk::app_texts {

inline constexpr const char* kErrorTitle = "ｴﾗｰ";
inline constexpr const char* kJobReadFailed = "処理ﾌｧｲﾙの読み込みに失敗しました｡";

// The runner cannot ask; it says how to allow what the question would ask.
inline constexpr const char* kRunnerOverwriteHint =
    "上書きする場合は --overwrite を指定してください｡";

} // namespace quisk::app_texts
