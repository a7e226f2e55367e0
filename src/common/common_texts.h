#pragma once

#include "common/file_io.h"

#include <cerrno>
#include <string>

// Why a file could not be read or written, in plain words, for the line
// that failure messages add under their fixed text.
namespace quisk::common_texts {

inline constexpr const char* kNoSpace = "ディスクの空き容量が不足しています｡";
inline constexpr const char* kQuotaExceeded = "ディスクの使用量の上限を超えています｡";
inline constexpr const char* kNoWritePermission = "書き込みの権限がありません｡";
inline constexpr const char* kNoReadPermission = "読み取りの権限がありません｡";
inline constexpr const char* kReadOnlyFileSystem = "読み取り専用のファイルシステムです｡";
inline constexpr const char* kNotFound = "ファイルまたはフォルダが見つかりません｡";
inline constexpr const char* kNotAFolder = "パスの途中にフォルダでないものがあります｡";
inline constexpr const char* kIsAFolder = "フォルダです｡ファイルを指定してください｡";
inline constexpr const char* kNotARegular = "通常のファイルではありません｡";
inline constexpr const char* kLinkLoop = "シンボリックリンクが循環しています｡";
inline constexpr const char* kNameTooLong = "ファイル名が長すぎます｡";
inline constexpr const char* kInputOutput = "ディスクの読み書きでエラーが発生しました｡";
inline constexpr const char* kTooLarge = "ファイルが大きすぎます｡";
inline constexpr const char* kNoMemory = "メモリが不足しています｡";
inline constexpr const char* kBusy = "ファイルが使用中です｡";
inline constexpr const char* kPipeClosed = "出力を受け取るプログラムが終了しています｡";
inline constexpr const char* kCompressedBroken = "圧縮されたデータが壊れています｡";
inline constexpr const char* kCompressedTruncated = "圧縮されたデータが途中で切れています｡";
inline constexpr const char* kOther = "予期しないエラーが発生しました(エラー番号 ";
inline constexpr const char* kOtherEnd = ")｡";

// The cause of a failed read (writing false) or write of a file.
inline std::string causeText(int error, bool writing) {
    switch (error) {
    case ENOSPC:
        return kNoSpace;
    case EDQUOT:
        return kQuotaExceeded;
    case EACCES:
    case EPERM:
        return writing ? kNoWritePermission : kNoReadPermission;
    case EROFS:
        return kReadOnlyFileSystem;
    case ENOENT:
        return kNotFound;
    case ENOTDIR:
        return kNotAFolder;
    case EISDIR:
        return kIsAFolder;
    case kNotARegularFile:
    case ENXIO:
        return kNotARegular;
    case ELOOP:
        return kLinkLoop;
    case ENAMETOOLONG:
        return kNameTooLong;
    case EIO:
        return kInputOutput;
    case EFBIG:
        return kTooLarge;
    case ENOMEM:
        return kNoMemory;
    case EBUSY:
    case ETXTBSY:
        return kBusy;
    case EPIPE:
        return kPipeClosed;
    case kCompressedDataBroken:
        return kCompressedBroken;
    case kCompressedDataTruncated:
        return kCompressedTruncated;
    default:
        return kOther + std::to_string(error) + kOtherEnd;
    }
}

} // namespace quisk::common_texts
