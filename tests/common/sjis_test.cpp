#include "common/sjis.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

TEST(Sjis, UsesTheWindowsFormOfCodePage932) {
    // 0x8160 is the wave dash of the Windows table (U+FF5E), and the NEC and
    // IBM extensions (circled digits, roman numerals, IBM kanji) are there.
    EXPECT_EQ(sjis::decode("\x81\x60"), "～");
    EXPECT_EQ(sjis::encode("～"), "\x81\x60");
    EXPECT_EQ(sjis::decode("\x87\x40"), "①");
    EXPECT_EQ(sjis::decode("\xFA\x40"), "ⅰ");
    EXPECT_EQ(sjis::encode("ﾃｷｽﾄ"), "\xC3\xB7\xBD\xC4");
    EXPECT_EQ(sjis::encode("区切"), "\x8B\xE6\x90\xD8");
}

TEST(Sjis, RoundTripsMixedText) {
    const std::string text = "ABC 漢字ｶﾅ\r\n$34$";
    auto bytes = sjis::encode(text);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(sjis::decode(*bytes), text);
}

TEST(Sjis, RefusesWhatCodePage932CannotHold) {
    EXPECT_FALSE(sjis::encode("emoji 😀"));
    EXPECT_FALSE(sjis::encode("Ω\xC3"));    // malformed UTF-8
    EXPECT_FALSE(sjis::decode("\x81"));     // a lead byte at the end
    EXPECT_FALSE(sjis::decode("\x81\x20")); // a lead byte without trail byte
}

TEST(Sjis, EncodesLookAlikesAsWindowsDoes) {
    // What a Linux input method or clipboard produces for the JIS symbols.
    EXPECT_EQ(sjis::encode("〜−‖—¢£¬¥"),
              "\x81\x60\x81\x7C\x81\x61\x81\x5C\x81\x91\x81\x92\x81\xCA\x5C");
    EXPECT_EQ(sjis::encode("波〜線.txt"), "\x94\x67\x81\x60\x90\xFC.txt");
    // The code page's own characters keep their bytes and decode to them.
    EXPECT_EQ(sjis::decode("\x81\x60\x81\x7C\x81\x91"), "～－￠");
}

TEST(Sjis, KeepsTheSingleBytesWindowsPassesThrough) {
    const std::string bytes = "\x80\xA0\xFD\xFE\xFF"
                              "A\x82\xA0\xFD";
    auto text = sjis::decode(bytes);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "\u0080\uF8F0\uF8F1\uF8F2\uF8F3Aあ\uF8F1");
    EXPECT_EQ(sjis::encode(*text), bytes);
}

TEST(Sjis, WritesAStandInOnlyWhereAskedTo) {
    EXPECT_EQ(sjis::encodeWithStandIn("caf😀/波〜線"), "caf?/\x94\x67\x81\x60\x90\xFC");
    EXPECT_EQ(sjis::encodeWithStandIn("a\xC3"
                                      "b"),
              "a?b"); // malformed UTF-8
    EXPECT_EQ(sjis::encodeWithStandIn("\u0080"), "\x80");
    EXPECT_FALSE(sjis::encode("caf😀"));
}

TEST(Sjis, ConvertsFileKindsBetweenHalfAndFullWidth) {
    EXPECT_EQ(sjis::toFullwidth("ﾃｷｽﾄﾌｧｲﾙ"), "テキストファイル");
    EXPECT_EQ(sjis::toFullwidth("区切ﾌｧｲﾙ"), "区切ファイル");
    EXPECT_EQ(sjis::toHalfwidth("区切ファイル"), "区切ﾌｧｲﾙ");
    EXPECT_EQ(sjis::toHalfwidth("ＣＳＶ１"), "CSV1");
}

TEST(Sjis, CountsCharactersNotBytes) {
    EXPECT_EQ(sjis::characterCount(""), 0u);
    EXPECT_EQ(sjis::characterCount("漢"), 1u);
    EXPECT_EQ(sjis::characterCount("a漢ｶ"), 3u);
    EXPECT_EQ(sjis::firstCharacter("漢字"), "漢");
    EXPECT_EQ(sjis::firstCharacter(""), "");
}

} // namespace
} // namespace quisk
