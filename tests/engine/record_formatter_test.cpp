#include "common/sjis.h"
#include "engine/record_formatter.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

// Formats one line with rows given as (type, start, length) or fixed values.
class Records : public ::testing::Test {
protected:
    void data(std::string type, std::string start, std::string length) {
        format.row(++rows) = {"F", std::move(start), std::move(length), std::move(type), "", ""};
    }
    void fixed(std::string value) { format.row(++rows) = {"", "", "", "", std::move(value), ""}; }
    std::string record(std::string_view line) {
        auto formatter = RecordFormatter::build(format);
        EXPECT_TRUE(formatter);
        std::string out;
        formatter->append(line, out);
        return out;
    }
    FormatDefinition format;
    int rows = 0;
};

TEST_F(Records, DelimitedFieldsAreQuotedAndCutShortAtTheLineEnd) {
    data("Char", "1", "5");
    data("Num", "6", "2");
    EXPECT_EQ(record("ABCDE12"), "\"ABCDE\",\"12\"");
    EXPECT_EQ(record("ABC"), "\"ABC\",\"\"");
    EXPECT_EQ(record(""), "\"\",\"\"");
    EXPECT_EQ(record("A\"C,E12"), "\"A\"C,E\",\"12\""); // nothing is escaped
    EXPECT_EQ(record(" BC  12"), "\" BC  \",\"12\"");   // spaces stay
}

TEST_F(Records, FixedValuesAreGluedToTheirNeighbours) {
    data("Char", "1", "3");
    fixed("-");
    data("Char", "4", "2");
    EXPECT_EQ(record("ABCDE"), "\"ABC\"-\"DE\"");
}

TEST_F(Records, AnEmptyLengthTakesTheRestOfTheLine) {
    data("Char", "3", "");
    EXPECT_EQ(record("ABCDE"), "\"CDE\"");
    EXPECT_EQ(record("AB"), "\"\""); // starts one byte past the end
    EXPECT_EQ(record("A"), "\"\"");  // starts further out
}

TEST_F(Records, OnlyTheExactTypeNumTakesTheNumQuote) {
    format.settings.textQuoteNum = "'";
    for (const char* type : {"Num", "num", "NUM", "Char"})
        data(type, "1", "1");
    EXPECT_EQ(record("A"), "'A',\"A\",\"A\",\"A\"");
}

TEST_F(Records, FixedWidthOutputConcatenatesWithoutFilling) {
    format.settings.outputKind = kTextFile;
    data("Char", "1", "3");
    data("Num", "6", "2");
    EXPECT_EQ(record("ABCDE12"), "ABC12");
    EXPECT_EQ(record("ABC"), "ABC");
}

TEST_F(Records, TheFirstEmptyRowEndsTheTable) {
    data("Char", "1", "1");
    format.row(3) = {"after", "2", "1", "Char", "", ""};
    EXPECT_EQ(record("AB"), "\"A\"");
    FormatDefinition empty;
    format = empty;
    EXPECT_EQ(record("AB"), "");
}

TEST_F(Records, SeparatorNamesAndOtherTexts) {
    data("Char", "1", "1");
    data("Char", "2", "1");
    const std::pair<const char*, const char*> cases[] = {
        {"|", "\"A\"|\"B\""},     {"ﾀﾌﾞ", "\"A\"\t\"B\""}, {"ｽﾍﾟｰｽ", "\"A\" \"B\""},
        {"ｾﾐｺﾛﾝ", "\"A\";\"B\""}, {"", "\"A\"\"B\""},      {"::", "\"A\"::\"B\""}};
    for (auto [separator, expected] : cases) {
        format.settings.separatorChar = separator;
        EXPECT_EQ(record("AB"), expected) << separator;
    }
    format.settings.separatorChar = kSeparatorComma;
    format.settings.textQuoteChar = "";
    EXPECT_EQ(record("AB"), "A,B");
}

TEST_F(Records, DoubleByteCharactersAreCutOnBytes) {
    const std::string line = *sjis::encode("漢字AB");
    data("Char", "1", "4");
    EXPECT_EQ(record(line), "\"" + *sjis::encode("漢字") + "\"");
    format = FormatDefinition{};
    rows = 0;
    data("Char", "1", "3"); // ends on the lead byte of the second character
    data("Char", "4", "2"); // starts on its trail byte
    EXPECT_EQ(record(line), "\"" + *sjis::encode("漢・") + "\",\"\x9A" + "A\"");
}

TEST_F(Records, ALeadByteCutOffAtAnyFieldLengthBecomesADot) {
    format.settings.outputKind = kTextFile;
    const std::string line = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (std::size_t n : {1u, 5u, 7u, 8u, 9u, 15u, 16u, 17u, 24u}) {
        std::string cut = line.substr(0, n - 1) + "\x8A\xBF"; // last byte is a lead
        format = FormatDefinition{};
        format.settings.outputKind = kTextFile;
        rows = 0;
        data("Char", "1", std::to_string(n));
        EXPECT_EQ(record(cut), line.substr(0, n - 1) + "\x81\x45") << n;
        EXPECT_EQ(record(line.substr(0, n) + "\x8A"), line.substr(0, n)) << n;
    }
}

TEST(Formatter, RowsThatCannotCutALineAreFlagged) {
    FormatDefinition f;
    f.row(1) = {"A", "0", "3", "Char", "", ""};
    EXPECT_FALSE(RecordFormatter::build(f)->canFormat());
    f.row(1) = {"A", "1", "-2", "Char", "", ""};
    EXPECT_FALSE(RecordFormatter::build(f)->canFormat());
    f.row(1) = {"A", "1", "", "Char", "", ""};
    EXPECT_TRUE(RecordFormatter::build(f)->canFormat());
    f.row(1) = {"", "", "", "", "😀", ""}; // no Shift-JIS form
    EXPECT_FALSE(RecordFormatter::build(f));
}

TEST_F(Records, PositionsAndLengthsFarBeyondAnyLineCutNothingOrTheRest) {
    const std::string huge = "99999999999999999999";
    data("Char", "2", huge);
    data("Char", huge, "3");
    data("Char", huge, huge);
    data("Char", "9223372036854775807", "9223372036854775807");
    data("Char", huge, "");
    EXPECT_EQ(record("ABCDE"), "\"BCDE\",\"\",\"\",\"\",\"\"");
}

TEST(Formatter, HugeNegativeRowsCannotCutALine) {
    FormatDefinition f;
    f.row(1) = {"A", "-9999999999999999999", "3", "Char", "", ""};
    EXPECT_FALSE(RecordFormatter::build(f)->canFormat());
    f.row(1) = {"A", "1", "-9999999999999999999", "Char", "", ""};
    EXPECT_FALSE(RecordFormatter::build(f)->canFormat());
    f.row(1) = {"A", "-9999999999999999999", "-9999999999999999999", "Char", "", ""};
    EXPECT_FALSE(RecordFormatter::build(f)->canFormat());
}

TEST(Formatter, ResolvesTheSeparatorOfARun) {
    FormatSettings s;
    EXPECT_EQ(resolveSeparator(s), ",");
    s.separatorChar = "ｶﾝﾏ ";
    EXPECT_EQ(resolveSeparator(s), "ｶﾝﾏ "); // exact comparison
    s.outputKind = kTextFile;
    EXPECT_EQ(resolveSeparator(s), "");
}

// The record with its values' places is the same record, and each place
// holds the bytes written for that field, a cut character's "・" included.
TEST_F(Records, ValuePlacesMarkEachFieldInTheSameRecord) {
    data("Char", "1", "3");
    fixed("-");
    data("Num", "4", "2");
    data("Char", "9", "2");
    const std::string line = "AB\x93\x8C"
                             "9"; // AB東9: the first field ends inside 東
    auto formatter = RecordFormatter::build(format);
    ASSERT_TRUE(formatter);
    std::string plain, marked;
    std::vector<RecordFormatter::ValueSpan> values;
    formatter->append(line, plain);
    formatter->append(line, marked, values);
    EXPECT_EQ(marked, plain);
    ASSERT_EQ(values.size(), 3u);
    auto value = [&](std::size_t i) {
        return marked.substr(values[i].from, values[i].to - values[i].from);
    };
    EXPECT_EQ(value(0), "AB\x81\x45");
    EXPECT_EQ(value(1), "\x81\x45"
                        "9"); // 東's trail byte is a lead byte here
    EXPECT_EQ(value(2), "");  // past the line's end
    EXPECT_EQ(marked.substr(values[0].to, values[1].from - values[0].to), "\"-\"");
}

} // namespace
} // namespace quisk
