#include "sjis.h"

#include <array>
#include <memory>
#include <unicode/translit.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/unistr.h>

namespace quisk::sjis {
namespace {

// ICU's table for the Windows form of Shift-JIS: NEC and IBM extensions,
// 0x8160 maps to U+FF5E. Its fallback mappings give the best fit Windows
// uses for most look-alike characters a Linux input method or clipboard
// produces (U+301C for 0x8160, U+2212 for 0x817C, U+00A5 for 0x5C, ...).
constexpr const char* kCodePage = "ibm-943_P15A-2003";

struct Mapping {
    UChar32 character;
    std::string_view bytes;
};

// What the table and its fallbacks still lack. The first three are Windows'
// best fit for the Latin-1 signs; the single bytes are those Windows passes
// through to the code points below, in both directions, so files holding
// them load and save back byte for byte.
constexpr std::array<Mapping, 3> kBestFit{{
    {0x00A2, "\x81\x91"}, // ¢ as ￠
    {0x00A3, "\x81\x92"}, // £ as ￡
    {0x00AC, "\x81\xCA"}, // ¬ as ￢
}};
constexpr std::array<Mapping, 5> kSingleBytes{{
    {0x0080, "\x80"},
    {0xF8F0, "\xA0"},
    {0xF8F1, "\xFD"},
    {0xF8F2, "\xFE"},
    {0xF8F3, "\xFF"},
}};

const Mapping* mappingFor(UChar32 c) {
    for (const Mapping& m : kBestFit)
        if (m.character == c)
            return &m;
    for (const Mapping& m : kSingleBytes)
        if (m.character == c)
            return &m;
    return nullptr;
}

const Mapping* mappingFor(char byte) {
    for (const Mapping& m : kSingleBytes)
        if (m.bytes[0] == byte)
            return &m;
    return nullptr;
}

// How a character without a code page 932 form is written.
enum class Unmappable { Refuse, StandIn };
constexpr char kStandInByte = '?';

// Called by ICU for a character its table cannot convert: writes the
// mapping above, else the stand-in when asked for, else leaves the error
// that stops the conversion.
void fromUnicodeMissing(const void* context, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                        UChar32 character, UConverterCallbackReason reason, UErrorCode* status) {
    if (reason > UCNV_IRREGULAR) // reset, close or clone: nothing to convert
        return;
    const Mapping* m = mappingFor(character);
    const bool standIn = *static_cast<const Unmappable*>(context) == Unmappable::StandIn;
    if (!m && !standIn)
        return;
    *status = U_ZERO_ERROR;
    if (m)
        ucnv_cbFromUWriteBytes(args, m->bytes.data(), static_cast<int32_t>(m->bytes.size()), 0,
                               status);
    else
        ucnv_cbFromUWriteBytes(args, &kStandInByte, 1, 0, status);
}

// Called by ICU for bytes its table cannot convert: a single byte of the
// table above becomes its code point; anything else stops the conversion.
void toUnicodeMissing(const void*, UConverterToUnicodeArgs* args, const char* bytes, int32_t length,
                      UConverterCallbackReason reason, UErrorCode* status) {
    if (reason != UCNV_UNASSIGNED || length != 1)
        return;
    const Mapping* m = mappingFor(bytes[0]);
    if (!m)
        return;
    *status = U_ZERO_ERROR;
    const auto unit = static_cast<UChar>(m->character);
    ucnv_cbToUWriteUChars(args, &unit, 1, 0, status);
}

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openConverter(const Unmappable& unmappable) {
    UErrorCode status = U_ZERO_ERROR;
    Converter conv(ucnv_open(kCodePage, &status));
    if (U_FAILURE(status))
        return nullptr;
    ucnv_setFallback(conv.get(), true);
    ucnv_setToUCallBack(conv.get(), toUnicodeMissing, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(conv.get(), fromUnicodeMissing, &unmappable, nullptr, nullptr, &status);
    return U_SUCCESS(status) ? std::move(conv) : nullptr;
}

// One converter per mode and thread; ICU converters are not shared.
UConverter* converter(Unmappable unmappable) {
    static constexpr Unmappable kRefuse = Unmappable::Refuse;
    static constexpr Unmappable kWriteStandIn = Unmappable::StandIn;
    thread_local Converter strict = openConverter(kRefuse);
    thread_local Converter lenient = openConverter(kWriteStandIn);
    return unmappable == Unmappable::Refuse ? strict.get() : lenient.get();
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

std::string convertFromUnicode(UConverter* conv, const icu::UnicodeString& text,
                               UErrorCode& status) {
    ucnv_resetFromUnicode(conv);
    std::string out(static_cast<std::size_t>(text.length()) * 2 + 4, '\0');
    int32_t n = ucnv_fromUChars(conv, out.data(), static_cast<int32_t>(out.size()),
                                text.getBuffer(), text.length(), &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(n) : 0);
    return out;
}

} // namespace

std::optional<std::string> encode(std::string_view utf8) {
    UConverter* conv = converter(Unmappable::Refuse);
    auto text = fromUtf8(utf8);
    if (!conv || !text)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    std::string out = convertFromUnicode(conv, *text, status);
    if (U_FAILURE(status))
        return std::nullopt;
    return out;
}

std::string encodeWithStandIn(std::string_view utf8) {
    UConverter* conv = converter(Unmappable::StandIn);
    if (!conv)
        return std::string(characterCount(utf8), kStandInByte);
    // Malformed UTF-8 becomes U+FFFD, which has no form and so a stand-in too.
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    UErrorCode status = U_ZERO_ERROR;
    return convertFromUnicode(conv, text, status);
}

std::optional<std::string> decode(std::string_view bytes) {
    UConverter* conv = converter(Unmappable::Refuse);
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

std::string toFullwidth(std::string_view utf8) {
    return transliterate(utf8, "Halfwidth-Fullwidth");
}

std::string toHalfwidth(std::string_view utf8) {
    return transliterate(utf8, "Fullwidth-Halfwidth");
}

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
