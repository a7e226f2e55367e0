#include "sjis.h"

#include <memory>

#include <unicode/translit.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

namespace quisk::sjis {
namespace {

// ICU's table for the Windows form of Shift-JIS: NEC and IBM extensions,
// 0x8160 maps to U+FF5E.
constexpr const char* kCodePage = "ibm-943_P15A-2003";

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// A strict converter: unmappable input stops the conversion with an error
// instead of producing a substitute character.
Converter openStrictConverter() {
    UErrorCode status = U_ZERO_ERROR;
    Converter conv(ucnv_open(kCodePage, &status));
    if (U_FAILURE(status))
        return nullptr;
    ucnv_setToUCallBack(conv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(conv.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    return U_SUCCESS(status) ? std::move(conv) : nullptr;
}

UConverter* converter() {
    thread_local Converter conv = openStrictConverter();
    return conv.get();
}

std::optional<icu::UnicodeString> fromUtf8(std::string_view utf8) {
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    // fromUTF8 replaces malformed sequences with U+FFFD; refuse those that
    // were not in the input.
    std::string back;
    text.toUTF8String(back);
    if (back != utf8)
        return std::nullopt;
    return text;
}

std::string toUtf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

// Builds the transliterator on each call: it serves only the two file-kind
// settings of a format file, a few times per load or save.
std::string transliterate(std::string_view utf8, const char* id) {
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> t(
        icu::Transliterator::createInstance(id, UTRANS_FORWARD, status));
    if (t && U_SUCCESS(status))
        t->transliterate(text);
    return toUtf8(text);
}

} // namespace

std::optional<std::string> encode(std::string_view utf8) {
    UConverter* conv = converter();
    auto text = fromUtf8(utf8);
    if (!conv || !text)
        return std::nullopt;
    ucnv_resetFromUnicode(conv);
    std::string out(static_cast<std::size_t>(text->length()) * 2 + 4, '\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t n = ucnv_fromUChars(conv, out.data(), static_cast<int32_t>(out.size()),
                                text->getBuffer(), text->length(), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    out.resize(static_cast<std::size_t>(n));
    return out;
}

std::optional<std::string> decode(std::string_view bytes) {
    UConverter* conv = converter();
    if (!conv)
        return std::nullopt;
    ucnv_resetToUnicode(conv);
    icu::UnicodeString text;
    int32_t capacity = static_cast<int32_t>(bytes.size()) + 1;
    UChar* buffer = text.getBuffer(capacity);
    UErrorCode status = U_ZERO_ERROR;
    int32_t n = ucnv_toUChars(conv, buffer, capacity, bytes.data(),
                              static_cast<int32_t>(bytes.size()), &status);
    text.releaseBuffer(U_SUCCESS(status) ? n : 0);
    if (U_FAILURE(status))
        return std::nullopt;
    return toUtf8(text);
}

std::string toFullwidth(std::string_view utf8) { return transliterate(utf8, "Halfwidth-Fullwidth"); }

std::string toHalfwidth(std::string_view utf8) { return transliterate(utf8, "Fullwidth-Halfwidth"); }

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8)
        count += (c & 0xC0) != 0x80;
    return count;
}

std::string firstCharacter(std::string_view utf8) {
    if (utf8.empty())
        return {};
    std::size_t n = 1;
    while (n < utf8.size() && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80)
        ++n;
    return std::string(utf8.substr(0, n));
}

} // namespace quisk::sjis
