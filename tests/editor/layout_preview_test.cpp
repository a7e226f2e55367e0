#include "editor/layout_edit.h"
#include "editor/layout_preview.h"
#include "editor/sample_head.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quisk {
namespace {

const std::string kTokyo = "\x93\x8C\x8B\x9E"; // 東京
const std::string kTa = "\xC0";                // ﾀ, half-width

std::vector<std::string> bytesOf(const SampleHead& head) {
    std::vector<std::string> out;
    for (const SampleLine& l : head.lines)
        out.push_back(l.bytes);
    return out;
}

std::vector<LineEnd> endsOf(const SampleHead& head) {
    std::vector<LineEnd> out;
    for (const SampleLine& l : head.lines)
        out.push_back(l.end);
    return out;
}

// Lines are split as the engine's reader splits them, and what was not read
// whole is left out rather than shown short.
TEST(SampleHead, SplitsLikeTheReaderAndLeavesOutAPartLine) {
    SampleHead all = splitSample("a\r\nb\rc\nd\r\ne", true);
    EXPECT_EQ(bytesOf(all), (std::vector<std::string>{"a", "b", "c\nd", "e"}));
    EXPECT_EQ(endsOf(all), (std::vector{LineEnd::CrLf, LineEnd::Cr, LineEnd::CrLf, LineEnd::None}));
    EXPECT_TRUE(all.wholeFile);

    SampleHead cut = splitSample("a\r\nbc", false);
    EXPECT_EQ(bytesOf(cut), std::vector<std::string>{"a"});
    EXPECT_FALSE(cut.wholeFile);
    // A carriage return at the very end may yet be followed by a line feed.
    EXPECT_EQ(bytesOf(splitSample("a\r\nb\r", false)), std::vector<std::string>{"a"});
    EXPECT_EQ(endsOf(splitSample("a\r", true)), std::vector{LineEnd::Cr});
    // A single line longer than what is read is shown as far as it was read.
    EXPECT_EQ(bytesOf(splitSample("abcdef", false)), std::vector<std::string>{"abcdef"});

    SampleHead two = splitSample("a\r\nb\r\nc\r\n", true, 2);
    EXPECT_EQ(bytesOf(two), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(two.wholeFile);
    EXPECT_TRUE(splitSample("a\r\nb\r\n", true, 2).wholeFile);
}

TEST(SampleHead, ReadsOnlyTheStartOfAFile) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("quisk-sample-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(path, std::ios::binary) << "12345\r\n67890\r\nabcde\r\n";
    // The limit falls between CR and LF: the line is still known to end in CR LF.
    SampleHead head = readSampleHead(path.string(), 1000, 13);
    EXPECT_EQ(bytesOf(head), (std::vector<std::string>{"12345", "67890"}));
    EXPECT_EQ(endsOf(head), (std::vector{LineEnd::CrLf, LineEnd::CrLf}));
    EXPECT_FALSE(head.wholeFile);
    EXPECT_EQ(bytesOf(readSampleHead(path.string(), 1000, 10)), std::vector<std::string>{"12345"});
    EXPECT_EQ(readSampleHead(path.string()).lines.size(), 3u);
    EXPECT_TRUE(readSampleHead(path.string()).wholeFile);
    std::filesystem::remove(path);

    SampleHead missing = readSampleHead(path.string());
    EXPECT_NE(missing.error, 0);
    EXPECT_TRUE(missing.lines.empty());
    EXPECT_NE(readSampleHead(std::filesystem::temp_directory_path().string()).error, 0);
}

// Fixed-length records are cut as the engine cuts them: every N bytes,
// whatever the bytes are, with a CR LF after each skipped when the first
// record carries one.
TEST(SampleRecords, CutEveryNBytesWithOrWithoutLineEnds) {
    SampleHead bare = splitRecords("ab\rcd\nefg", true, 3);
    EXPECT_EQ(bytesOf(bare), (std::vector<std::string>{"ab\r", "cd\n", "efg"}));
    EXPECT_TRUE(bare.wholeFile);

    SampleHead crlf = splitRecords("abc\r\ndef\r\ngh\r\n", true, 3);
    EXPECT_EQ(bytesOf(crlf), (std::vector<std::string>{"abc", "def", "gh"})); // short last
    EXPECT_TRUE(crlf.wholeFile);
    // A CR LF after the second record only is data: the first one decides.
    EXPECT_EQ(bytesOf(splitRecords("abcd\r\nef", true, 3)),
              (std::vector<std::string>{"abc", "d\r\n", "ef"}));

    // Cut off by the end of what was read: only whole records, each with its
    // CR LF, unless there is only one.
    SampleHead cut = splitRecords("abc\r\ndef\r", false, 3);
    EXPECT_EQ(bytesOf(cut), std::vector<std::string>{"abc"});
    EXPECT_FALSE(cut.wholeFile);
    EXPECT_EQ(bytesOf(splitRecords("abcdefg", false, 3)), (std::vector<std::string>{"abc", "def"}));
    EXPECT_EQ(bytesOf(splitRecords("ab", false, 3)), std::vector<std::string>{"ab"});

    SampleHead two = splitRecords("abcdefghi", true, 3, 2);
    EXPECT_EQ(two.lines.size(), 2u);
    EXPECT_FALSE(two.wholeFile);
}

// The bytes read once are cut into lines or records as the format says.
TEST(SampleRecords, TheSameBytesCutAsLinesOrAsRecords) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("quisk-records-" + std::to_string(::getpid()) + ".dat");
    std::ofstream(path, std::ios::binary) << "1ab\r\n2cd\r\n8ef";
    const SampleBytes bytes = readSampleBytes(path.string());
    std::filesystem::remove(path);
    EXPECT_EQ(bytesOf(cutSample(bytes, 0)), (std::vector<std::string>{"1ab", "2cd", "8ef"}));
    EXPECT_EQ(bytesOf(cutSample(bytes, 3)), (std::vector<std::string>{"1ab", "2cd", "8ef"}));
    EXPECT_EQ(bytesOf(cutSample(bytes, 2)),
              (std::vector<std::string>{"1a", "b\r", "\n2", "cd", "\r\n", "8e", "f"}));
    // A limit inside the second record leaves it out.
    const SampleBytes part{"1ab\r\n2c", false, 0};
    EXPECT_EQ(bytesOf(cutSample(part, 3, 1000, 6)), std::vector<std::string>{"1ab"});
    EXPECT_NE(cutSample(readSampleBytes(path.string()), 3).error, 0);
}

TEST(Glyphs, DoubleByteCharactersTakeTwoColumns) {
    const std::vector<Glyph> g = glyphsOf("A" + kTokyo + kTa + "\xFF" + "\x82");
    ASSERT_EQ(g.size(), 6u);
    EXPECT_EQ(g[1].column, 1u);
    EXPECT_EQ(g[1].width, 2);
    EXPECT_EQ(g[1].text, "東");
    EXPECT_EQ(g[2].column, 3u);
    EXPECT_EQ(g[3].column, 5u);
    EXPECT_EQ(g[3].text, "ﾀ");
    EXPECT_EQ(g[3].width, 1);
    EXPECT_EQ(g[5].column, 7u); // a lead byte at the end is no character
    EXPECT_EQ(g[5].text, "");
}

// A layout of three fields over lines such as "1001東京  0125", with the
// first line excluded and the second written as it is.
struct SamplePreview : ::testing::Test {
    FormatDefinition format;
    SampleHead sample;

    SamplePreview() {
        format.row(1) = {"CODE", "1", "4", "Num", "", ""};
        format.row(2) = {"CITY", "5", "6", "Char", "", ""};
        format.row(3) = {"", "", "", "", "-", ""};
        format.row(4) = {"AMOUNT", "11", "4", "Num", "", ""};
        format.settings.excludeFrom = "1";
        format.settings.excludeTo = "1";
        format.settings.writeAsIsFrom = "2";
        format.settings.writeAsIsTo = "2";
        format.settings.headerText = "H1\r\nH2";
        format.settings.footerText = "F";
        format.settings.fieldNamesOnTop = true;
        sample = splitSample("TITLE\r\n"
                             "as is\r\n"
                             "1001" +
                                 kTokyo +
                                 "  0125\r\n"
                                 "1002" +
                                 kTa + kTa + kTa + kTokyo +
                                 "380\r\n" // 京 cut in two
                                 "1003\n" +
                                 kTokyo + "\r\n", // a lone LF, short
                             true);
    }
    std::string text(const std::vector<OutputPiece>& pieces) {
        std::string out;
        for (const OutputPiece& p : pieces)
            out += p.text;
        return out;
    }
};

TEST_F(SamplePreview, BandsRolesAndOutputComeFromTheLayoutAndTheEngine) {
    const LayoutPreview preview(format, sample);
    ASSERT_EQ(preview.bands().size(), 3u);
    EXPECT_EQ(preview.bands()[1].row, 2);
    EXPECT_EQ(preview.bands()[1].offset, 4u);
    EXPECT_EQ(preview.bands()[2].row, 4);
    EXPECT_EQ(preview.bands()[2].colour, 2);
    EXPECT_EQ(preview.outputHead(),
              (std::vector<std::string>{"H1", "H2", "\"CODE\",\"CITY\",\"AMOUNT\""}));
    EXPECT_EQ(preview.outputTail(), std::vector<std::string>{"F"});

    const std::vector<ShownLine> shown = preview.shownLines(0, 200);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].role, LineRole::Excluded);
    EXPECT_TRUE(shown[0].output.empty());
    EXPECT_EQ(shown[1].role, LineRole::WriteAsIs);
    EXPECT_EQ(text(shown[1].output), "as is");
    EXPECT_EQ(text(shown[2].output), "\"1001\",\"東京  \"-\"0125\"");
    // Each value is a piece in its band's colour, between uncoloured glue.
    std::vector<std::pair<std::string, int>> values;
    for (const OutputPiece& p : shown[2].output)
        if (p.colour >= 0)
            values.emplace_back(p.text, p.row);
    EXPECT_EQ(values,
              (std::vector<std::pair<std::string, int>>{{"1001", 1}, {"東京  ", 2}, {"0125", 4}}));
    // The engine writes "・" for the half of 京 inside the field.
    EXPECT_EQ(text(shown[3].output), "\"1002\",\"ﾀﾀﾀ東・\"-\"・380\"");

    const auto later = preview.shownLines(3, 200);
    ASSERT_EQ(later.size(), 2u);
    EXPECT_EQ(later[0].number, 4);
    EXPECT_TRUE(preview.shownLines(9, 5).empty());
}

TEST_F(SamplePreview, ProblemsAreCountedOverEveryLineReadAndPointAtTheirField) {
    const LayoutPreview preview(format, sample);
    const auto& counts = preview.counts();
    auto count = [&](ProblemKind k) { return counts[static_cast<std::size_t>(k)]; };
    EXPECT_EQ(count(ProblemKind::EndCut), 1);
    EXPECT_EQ(count(ProblemKind::StartCut), 1); // the amount starts on 京's trail byte
    EXPECT_EQ(count(ProblemKind::ShortLine), 1);
    EXPECT_EQ(count(ProblemKind::LoneLineFeed), 1);
    EXPECT_EQ(count(ProblemKind::DroppedBytes), 0);

    const auto shown = preview.shownLines(3, 1);
    ASSERT_FALSE(shown[0].problems.empty());
    EXPECT_EQ(preview.rowOf(shown[0].problems[0]), 2);
    const auto last = preview.shownLines(4, 1)[0];
    const auto shortLine =
        std::find_if(last.problems.begin(), last.problems.end(),
                     [](const auto& p) { return p.kind == ProblemKind::ShortLine; });
    ASSERT_NE(shortLine, last.problems.end());
    EXPECT_EQ(preview.rowOf(*shortLine), 2); // the first missing byte is the city's last
    EXPECT_EQ(preview.rowAt(3), 1);
    EXPECT_EQ(preview.rowAt(40), 4); // past the last field: the field that ends last
}

// Boundaries where nearly every line changes character class, not where
// only some do, never inside a double-byte character, and none the layout
// already has.
TEST(BoundarySuggestions, FollowClassChangesOnNearlyAllLines) {
    FormatDefinition none;
    std::string text;
    const char* names[] = {"AB  ", "CDE ", "F   ", "GHIJ", "KL  ",
                           "MN  ", "OP  ", "QR  ", "ST  ", "UV  "};
    for (int i = 0; i < 10; ++i)
        text += std::string("10") + std::to_string(i % 10) + names[i] + kTokyo + kTa + "\r\n";
    const SampleHead sample = splitSample(text, true);
    EXPECT_EQ(suggestBoundaries(none, sample), (std::vector<std::size_t>{3, 7, 11}));

    FormatDefinition some;
    some.row(1) = {"CODE", "1", "3", "Char", "", ""};
    EXPECT_EQ(suggestBoundaries(some, sample), (std::vector<std::size_t>{7, 11}));

    // Lines a run does not cut do not count, nor, where most lines have one
    // length, lines of another.
    const SampleHead withTitle = splitSample("TITLE LINE X 12\r\n" + text + "TOTAL 10\r\n", true);
    EXPECT_EQ(suggestBoundaries(some, withTitle), (std::vector<std::size_t>{7, 11}));
    const SampleHead sameLength = splitSample("TITLELINEXYZ\r\nABCDEFGHIJKL\r\n" + text, true);
    EXPECT_EQ(suggestBoundaries(some, sameLength), std::vector<std::size_t>{});
    some.settings.excludeFrom = "1";
    some.settings.excludeTo = "2";
    EXPECT_EQ(suggestBoundaries(some, sameLength), (std::vector<std::size_t>{7, 11}));
}

FormatDefinition fields(std::vector<FieldRow> rows) {
    FormatDefinition f;
    for (std::size_t i = 0; i < rows.size(); ++i)
        f.row(static_cast<int>(i) + 1) = rows[i];
    return f;
}

std::vector<std::string> spans(const FormatDefinition& f) {
    std::vector<std::string> out;
    for (int r = 1; r <= f.usedRowCount(); ++r)
        out.push_back(f.row(r).fieldName + ":" + f.row(r).startPosition + "+" + f.row(r).length);
    return out;
}

TEST(LayoutEdit, ASplitCutsTheFieldOrFillsTheStretchNoFieldHolds) {
    FormatDefinition f =
        fields({{"A", "1", "10", "Num", "", "note"}, {"B", "11", "5", "Char", "", ""}});
    EXPECT_EQ(splitAt(f, 4, 30), 2);
    EXPECT_EQ(spans(f), (std::vector<std::string>{"A:1+4", "ﾌｨｰﾙﾄﾞ5:5+6", "B:11+5"}));
    EXPECT_EQ(f.row(2).fieldType, "Num");
    EXPECT_EQ(f.row(2).remarks, "");
    EXPECT_EQ(f.fieldRowCount(), 201);

    EXPECT_EQ(splitAt(f, 10, 30), 0); // already a boundary
    EXPECT_EQ(splitAt(f, 0, 30), 0);
    // Past the last field: the stretch up to the longest line, in two.
    EXPECT_EQ(splitAt(f, 20, 30), 5);
    EXPECT_EQ(spans(f), (std::vector<std::string>{"A:1+4", "ﾌｨｰﾙﾄﾞ5:5+6", "B:11+5", "ﾌｨｰﾙﾄﾞ16:16+5",
                                                  "ﾌｨｰﾙﾄﾞ21:21+10"}));

    FormatDefinition empty;
    EXPECT_EQ(splitAt(empty, 4, 12), 2);
    EXPECT_EQ(spans(empty), (std::vector<std::string>{"ﾌｨｰﾙﾄﾞ1:1+4", "ﾌｨｰﾙﾄﾞ5:5+8"}));

    // A gap between two fields is filled up to the next field only.
    FormatDefinition gap =
        fields({{"A", "1", "2", "Char", "", ""}, {"B", "9", "2", "Char", "", ""}});
    EXPECT_EQ(splitAt(gap, 5, 40), 3);
    EXPECT_EQ(spans(gap),
              (std::vector<std::string>{"A:1+2", "ﾌｨｰﾙﾄﾞ3:3+3", "ﾌｨｰﾙﾄﾞ6:6+3", "B:9+2"}));

    // A field running to the end of the line keeps doing so in its second part.
    FormatDefinition rest = fields({{"R", "1", "", "Char", "", ""}});
    EXPECT_EQ(splitAt(rest, 3, 10), 2);
    EXPECT_EQ(spans(rest), (std::vector<std::string>{"R:1+3", "ﾌｨｰﾙﾄﾞ4:4+"}));
}

TEST(LayoutEdit, AMovedBoundaryMovesBothNeighboursAndStopsBeforeEmptyingOne) {
    FormatDefinition f = fields({{"A", "1", "4", "Char", "", ""},
                                 {"B", "5", "6", "Char", "", ""},
                                 {"C", "14", "2", "Char", "", ""}});
    EXPECT_EQ(moveBoundary(f, 4, 6), 2);
    EXPECT_EQ(spans(f), (std::vector<std::string>{"A:1+6", "B:7+4", "C:14+2"}));
    EXPECT_EQ(moveBoundary(f, 6, 20), 2); // stops with one byte left in B
    EXPECT_EQ(spans(f), (std::vector<std::string>{"A:1+9", "B:10+1", "C:14+2"}));
    EXPECT_EQ(moveBoundary(f, 9, 0), 2); // and with one left in A
    EXPECT_EQ(spans(f), (std::vector<std::string>{"A:1+1", "B:2+9", "C:14+2"}));
    // A field's edge with no neighbour moves alone.
    EXPECT_EQ(moveBoundary(f, 13, 11), 3);
    EXPECT_EQ(spans(f), (std::vector<std::string>{"A:1+1", "B:2+9", "C:12+4"}));
    EXPECT_EQ(moveBoundary(f, 12, 12), 0);
    EXPECT_EQ(moveBoundary(f, 30, 31), 0); // no field edge there
}

// Records of another type than the selection names are shaded and write
// nothing; the excluded and write-as-is ranges count every record.
TEST(SelectedRecords, SkippedRecordsAreMarkedAndTheRangesCountAllRecords) {
    FormatDefinition format;
    format.row(1) = {"KIND", "1", "1", "Char", "", ""};
    format.row(2) = {"NAME", "2", "2", "Char", "", ""};
    format.settings.recordLength = "5";
    format.settings.recordSelectStart = "2";
    format.settings.recordSelectLength = "2";
    format.settings.recordSelectText = "東";
    format.settings.excludeFrom = "4";
    format.settings.excludeTo = "4";
    const SampleHead sample =
        splitRecords("1HEAD2" + kTokyo + "2" + kTokyo + "2" + kTokyo + "8" + kTa + "xyz", true, 5);
    ASSERT_EQ(sample.lines.size(), 5u);
    const LayoutPreview preview(format, sample);
    const std::vector<ShownLine> shown = preview.shownLines(0, 10);
    std::vector<LineRole> roles;
    for (const ShownLine& line : shown)
        roles.push_back(line.role);
    EXPECT_EQ(roles, (std::vector{LineRole::Skipped, LineRole::Record, LineRole::Record,
                                  LineRole::Excluded, LineRole::Skipped}));
    EXPECT_TRUE(shown[0].output.empty());
    EXPECT_FALSE(shown[1].output.empty());
    // Only the records of the selected type are checked against the layout:
    // the others too would leave their last two bytes unwritten. (The
    // excluded one is not checked either.)
    EXPECT_TRUE(shown[0].problems.empty());
    EXPECT_TRUE(shown[4].problems.empty());
    EXPECT_FALSE(shown[2].problems.empty());
    EXPECT_EQ(preview.counts()[static_cast<std::size_t>(ProblemKind::DroppedBytes)], 2);
    // Another position and a single byte.
    format.settings.recordSelectStart = "1";
    format.settings.recordSelectLength = "1";
    format.settings.recordSelectText = "8";
    EXPECT_EQ(LayoutPreview(format, sample).roleOf(5), LineRole::Record);
    EXPECT_EQ(LayoutPreview(format, sample).roleOf(2), LineRole::Skipped);
    // Without a selection every record is converted.
    format.settings.recordSelectText.clear();
    EXPECT_EQ(LayoutPreview(format, sample).roleOf(1), LineRole::Record);
}

} // namespace
} // namespace quisk
