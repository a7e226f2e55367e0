#include "common/file_io.h"
#include "common/sjis.h"
#include "format/format_file.h"
#include "format/format_texts.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

// The worked example of the format file: every setting off its default.
const char* const kExampleText =
    "\"[!テキスト区切文字-文字]\",\"ダブル\",\"\",\"\",\"\",\"\"\r\n"
    "\"[!テキスト区切文字-数字]\",\"\",\"\",\"\",\"\",\"\"\r\n"
    "\"[!フィールド間区切文字-文字]\",\"カンマ\",\"\",\"\",\"\",\"\"\r\n"
    "\"[!フィールド間区切文字-数字]\",\"タブ\",\"\",\"\",\"\",\"\"\r\n"
    "\"[!読込みファイル形式]\",\"テキストファイル\",\"\",\"\",\"\",\"\"\r\n"
    "\"[!書出しファイル形式]\",\"区切ファイル\",\"\",\"\",\"\",\"\"\r\n"
    "\"[!対象外範囲]\",\"0\",\"0\",\"\",\"\",\"\"\r\n"
    "\"[!そのまま書込む範囲]\",\"1\",\"2\",\"\",\"\",\"\"\r\n"
    "\"[!先頭に名前を付ける]\",\"はい\",\"\",\"\",\"\",\"\"\r\n"
    "\"[!ヘッダー]\",\"A$44$B\",\"\",\"\",\"\",\"\"\r\n"
    "\"[!ヘッダー]\",\"say $34$hi$34$\",\"\",\"\",\"\",\"\"\r\n"
    "\"[!フッター]\",\"\",\"\",\"\",\"\",\"\"\r\n"
    "\"CODE\",\"1\",\"5\",\"Char\",\"\",\"\"\r\n"
    "\"AMOUNT\",\"6\",\"8\",\"Num\",\"\",\"net$44$ yen\"\r\n"
    "\"KIND\",\"\",\"\",\"\",\"X\",\"\"\r\n";

FormatDefinition exampleDefinition() {
    FormatDefinition f;
    FormatSettings& s = f.settings;
    s.textQuoteNum = "";
    s.separatorNum = kSeparatorTab;
    s.writeAsIsFrom = "1";
    s.writeAsIsTo = "2";
    s.fieldNamesOnTop = true;
    s.headerText = "A,B\r\nsay \"hi\"";
    f.row(1) = {"CODE", "1", "5", "Char", "", ""};
    f.row(2) = {"AMOUNT", "6", "8", "Num", "", "net, yen"};
    f.row(3) = {"KIND", "", "", "", "X", ""};
    return f;
}

TEST(FormatFile, WritesTheWorkedExampleByteForByte) {
    EXPECT_EQ(formatFileText(exampleDefinition()), kExampleText);
}

TEST(FormatFile, ReadsTheWorkedExampleBackIntoTheSameDefinition) {
    FormatDefinition loaded;
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(parseFormatText(kExampleText, loaded, boxes));
    EXPECT_EQ(loaded, exampleDefinition());
    EXPECT_TRUE(boxes.shown.empty());
}

using FormatFileOnDisk = testing::TempFolder;

TEST_F(FormatFileOnDisk, SavesAndLoadsShiftJisFilesAtomically) {
    std::string path = this->path("example.qfd");
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(saveFormatFile(path, exampleDefinition(), boxes));
    EXPECT_EQ(readWholeFile(path), sjis::encode(kExampleText));

    FormatDefinition loaded;
    ASSERT_TRUE(loadFormatFile(path, loaded, boxes));
    EXPECT_EQ(loaded, exampleDefinition());

    // A cell Shift-JIS cannot hold fails the save and keeps the old file.
    FormatDefinition bad = exampleDefinition();
    bad.row(1).remarks = "😀";
    EXPECT_FALSE(saveFormatFile(path, bad, boxes));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, format_texts::kSaveFailed);
    EXPECT_EQ(boxes.shown[0].title, "ﾌｧｲﾙｴﾗｰ");
    EXPECT_EQ(readWholeFile(path), sjis::encode(kExampleText));

    // A file that cannot be written is named with the cause.
    EXPECT_FALSE(saveFormatFile(this->path("missing/x.qfd"), exampleDefinition(), boxes));
    EXPECT_EQ(boxes.shown.at(1).text, std::string(format_texts::kSaveFailed) + "\r保存先: " +
                                          this->path("missing/x.qfd") +
                                          "\rファイルまたはフォルダが見つかりません｡");
}

TEST_F(FormatFileOnDisk, WindowsSymbolsAndSingleBytesSaveAsWindowsWritesThem) {
    // A file written on Windows: single bytes 0x80, 0xA0, 0xFD in a header
    // line and a fixed value; they must come back unchanged.
    FormatDefinition windows;
    windows.settings.headerText = "\u0080\uF8F0\uF8F1";
    windows.row(1) = {"", "", "", "", "\uF8F3", ""};
    const std::string bytes = *sjis::encode(formatFileText(windows));
    EXPECT_NE(bytes.find("\"\x80\xA0\xFD\""), std::string::npos);
    writeBytes("windows.qfd", bytes);
    ScriptedMessageBoxes boxes;
    FormatDefinition loaded;
    ASSERT_TRUE(loadFormatFile(path("windows.qfd"), loaded, boxes));
    ASSERT_TRUE(saveFormatFile(path("again.qfd"), loaded, boxes));
    EXPECT_EQ(readWholeFile(path("again.qfd")), bytes);

    // Typed on Linux: the wave dash and the minus sign save as Windows' own.
    loaded.row(1).fixedValue = "〜−";
    ASSERT_TRUE(saveFormatFile(path("typed.qfd"), loaded, boxes));
    EXPECT_NE(readWholeFile(path("typed.qfd"))->find("\"\x81\x60\x81\x7C\""), std::string::npos);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(FormatFile, ReportsFilesThatCannotBeReadAndKeepsTheDefinition) {
    FormatDefinition current = exampleDefinition();
    ScriptedMessageBoxes boxes;
    EXPECT_FALSE(loadFormatFile("/no/such/file.qfd", current, boxes));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "ﾌｫｰﾏｯﾄﾌｧｲﾙの読込みに失敗しました｡\r/no/such/file.qfdは存在していますか?");
    EXPECT_EQ(boxes.shown[0].icon, Icon::Stop);

    for (const char* broken : {"\"A\",\"1\",\"2\",\"Char\",\"\"\r\n",           // short last record
                               "\"A\",\"1\",\"2\",\"Char\",\"\",\"oops\r\n"}) { // open quote
        EXPECT_FALSE(parseFormatText(broken, current, boxes)) << broken;
        EXPECT_EQ(current, exampleDefinition());
    }
}

TEST(FormatFile, HeaderAndFooterLinesFollowTheLineRules) {
    FormatDefinition f;
    f.settings.headerText = "a\r\n\r\nb";
    f.settings.footerText = "x\ny\rz\r\n";
    std::string text = formatFileText(f);
    EXPECT_NE(text.find("\"[!ヘッダー]\",\"a\""), std::string::npos);
    EXPECT_NE(text.find("\"[!ヘッダー]\",\"\""), std::string::npos);
    EXPECT_NE(text.find("\"[!ヘッダー]\",\"b\""), std::string::npos);
    // a lone line feed is dropped, a lone carriage return splits the line,
    // and a trailing line break leaves a last empty line
    EXPECT_NE(text.find("\"[!フッター]\",\"xy\""), std::string::npos);
    EXPECT_NE(text.find("\"[!フッター]\",\"z\""), std::string::npos);

    FormatDefinition loaded;
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(parseFormatText(text, loaded, boxes));
    EXPECT_EQ(loaded.settings.headerText, "a\r\n\r\nb");
    EXPECT_EQ(loaded.settings.footerText, "xy\r\nz\r\n");

    FormatDefinition empty;
    std::string emptyText = formatFileText(empty);
    EXPECT_NE(emptyText.find("\"[!ヘッダー]\",\"\",\"\",\"\",\"\",\"\"\r\n"), std::string::npos);
    EXPECT_NE(emptyText.find("\"[!フッター]\",\"\",\"\",\"\",\"\",\"\"\r\n"), std::string::npos);
}

TEST(FormatFile, WritingStopsAtTheFirstEmptyRow) {
    FormatDefinition f;
    f.row(1).fieldName = "A";
    f.row(2).remarks = "only a remark still counts";
    f.row(4).fieldName = "after the gap";
    std::string text = formatFileText(f);
    EXPECT_NE(text.find("\"A\",\"\",\"\",\"\",\"\",\"\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("only a remark"), std::string::npos);
    EXPECT_EQ(text.find("after the gap"), std::string::npos);
}

TEST(FormatFile, MarkersMayStandAnywhereAndTheLastOneWins) {
    std::string text = "\"R1\",\"1\",\"2\",\"Char\",\"\",\"\"\r\n"
                       "\"[!対象外範囲]\",\"1\",\"2\",\"\",\"\",\"\"\r\n"
                       "\"[!ヘッダー]\",\"h1\",\"\",\"\",\"\",\"\"\r\n"
                       "\"[!不明]\",\"x\",\"\",\"\",\"\",\"\"\r\n"
                       "\"[!looks like a marker]\",\"3\",\"4\",\"Char\",\"\",\"\"\r\n"
                       "\"R2\",\"3\",\"4\",\"Char\",\"\",\"\"\r\n"
                       "\"[!対象外範囲]\",\"5\",\"9\",\"\",\"\",\"\"\r\n"
                       "\"[!ヘッダー]\",\"h2\",\"\",\"\",\"\",\"\"\r\n"
                       "\"[!先頭に名前を付ける]\",\"\",\"\",\"\",\"\",\"\"\r\n";
    FormatDefinition f;
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(parseFormatText(text, f, boxes));
    EXPECT_EQ(f.settings.excludeFrom, "5");
    EXPECT_EQ(f.settings.excludeTo, "9");
    EXPECT_EQ(f.settings.headerText, "h1\r\nh2");
    EXPECT_TRUE(f.settings.fieldNamesOnTop); // neither はい nor いいえ
    EXPECT_EQ(f.row(1).fieldName, "R1");
    EXPECT_EQ(f.row(2).fieldName, "R2"); // the look-alike marker was dropped
    EXPECT_TRUE(f.row(3).isEmpty());
    // settings the file does not mention keep their values
    EXPECT_EQ(f.settings.separatorChar, kSeparatorComma);
    EXPECT_EQ(f.settings.outputKind, kDelimitedFile);
}

std::string recordsText(int n) {
    std::string text;
    for (int i = 1; i <= n; ++i)
        text += "\"F" + std::to_string(i) + "\",\"1\",\"1\",\"Char\",\"\",\"\"\r\n";
    return text;
}

TEST(FormatFile, TheTableGrowsToOneRowMoreThanTheRecords) {
    ScriptedMessageBoxes boxes;
    FormatDefinition small;
    ASSERT_TRUE(parseFormatText(recordsText(150), small, boxes));
    EXPECT_EQ(small.fieldRowCount(), 200);
    FormatDefinition large;
    ASSERT_TRUE(parseFormatText(recordsText(250), large, boxes));
    EXPECT_EQ(large.fieldRowCount(), 251);
    EXPECT_EQ(large.row(250).fieldName, "F250");
    EXPECT_TRUE(large.row(251).isEmpty());
}

// Every table the editor can save loads again: a full one has no room for
// the empty row after the records, and one row more is refused by name.
TEST_F(FormatFileOnDisk, FullTableLoadsAndALargerOneIsReportedAsTooLarge) {
    const int max = FormatDefinition::kMaxRowCount;
    FormatDefinition full;
    ASSERT_TRUE(full.growTo(max));
    for (int r = 1; r <= max; ++r)
        full.row(r) = FieldRow{"F" + std::to_string(r), "1", "1", "Char", "", ""};
    ScriptedMessageBoxes boxes;
    const std::string path = this->path("full.qfd");
    ASSERT_TRUE(saveFormatFile(path, full, boxes));
    FormatDefinition loaded;
    ASSERT_TRUE(loadFormatFile(path, loaded, boxes));
    EXPECT_EQ(loaded.fieldRowCount(), max);
    EXPECT_EQ(loaded.row(max).fieldName, "F32767");

    const std::string over = this->path("over.qfd");
    ASSERT_TRUE(writeFileAtomically(over, recordsText(max + 1)));
    EXPECT_FALSE(loadFormatFile(over, loaded, boxes));
    EXPECT_EQ(loaded.row(max).fieldName, "F32767"); // kept as it was
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "ﾌｫｰﾏｯﾄﾌｧｲﾙの読込みに失敗しました｡\r" + over +
                                       "のﾌｨｰﾙﾄﾞ数が上限の32767行を超えています｡");
    EXPECT_EQ(boxes.shown[0].title, "ﾌｧｲﾙｴﾗｰ");
}

TEST(FormatFile, StoredFormsTranslateBothWays) {
    FormatDefinition f;
    f.settings.textQuoteChar = "'";
    f.settings.textQuoteNum = "#";
    f.settings.separatorChar = " ";
    f.settings.separatorNum = "カンマ";
    std::string text = formatFileText(f);
    EXPECT_NE(text.find("\"シングル\""), std::string::npos);
    FormatDefinition loaded;
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(parseFormatText(text, loaded, boxes));
    EXPECT_EQ(loaded.settings.textQuoteChar, "'");
    EXPECT_EQ(loaded.settings.textQuoteNum, "#");
    EXPECT_EQ(loaded.settings.separatorChar, kSeparatorSpace);
    EXPECT_EQ(loaded.settings.separatorNum, kSeparatorComma);
}

TEST(FormatFile, SeparatorsHoldingQuotesOrCommasStayReadable) {
    FormatDefinition f;
    f.settings.separatorChar = "\",\"";
    f.settings.textQuoteNum = "";
    FormatDefinition loaded;
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(parseFormatText(formatFileText(f), loaded, boxes));
    EXPECT_EQ(loaded.settings, f.settings);
}

TEST(FormatFile, LoadedValuesPassTheSelectorRules) {
    std::string text = "\"[!書出しファイル形式]\",\"ＣＳＶ\",\"\",\"\",\"\",\"\"\r\n"
                       "\"[!読込みファイル形式]\",\"区切ファイル\",\"\",\"\",\"\",\"\"\r\n"
                       "\"[!テキスト区切文字-文字]\",\"«»\",\"\",\"\",\"\",\"\"\r\n"
                       "\"[!テキスト区切文字-数字]\",\"漢\",\"\",\"\",\"\",\"\"\r\n";
    FormatDefinition f;
    f.settings.outputKind = kTextFile;
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(parseFormatText(text, f, boxes));
    EXPECT_EQ(f.settings.outputKind, kDelimitedFile); // reset to the box's default
    EXPECT_EQ(f.settings.inputKind, kDelimitedFile);  // accepted when a file holds it
    EXPECT_EQ(f.settings.textQuoteChar, "«");         // cut to its first character
    EXPECT_EQ(f.settings.textQuoteNum, "漢");         // one double-byte character is fine
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, format_texts::kFileKindFromList);
    EXPECT_EQ(boxes.shown[1].text, format_texts::kQuoteTooLong);
    EXPECT_EQ(boxes.shown[1].title, "入力ｴﾗｰ");
}

TEST(FormatFile, StoredFileKindsAreTheFullWidthForms) {
    EXPECT_EQ(sjis::toFullwidth(kTextFile), format_texts::kStoredTextFile);
    EXPECT_EQ(sjis::toFullwidth(kDelimitedFile), format_texts::kStoredDelimitedFile);
    EXPECT_EQ(sjis::toHalfwidth(format_texts::kStoredTextFile), kTextFile);
    EXPECT_EQ(sjis::toHalfwidth(format_texts::kStoredDelimitedFile), kDelimitedFile);
    // a value off the two stored forms still goes through the transliterator
    FormatDefinition f;
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(parseFormatText("\"[!読込みファイル形式]\",\"ﾃｷｽﾄﾌｧｲﾙ\",\"\",\"\",\"\",\"\"\r\n", f,
                                boxes));
    EXPECT_EQ(f.settings.inputKind, kTextFile); // half-width stays half-width
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(FormatFile, CellsKeepQuotesCommasAndLiteralPlaceholders) {
    FormatDefinition f;
    f.row(1) = {",\"", "1", "2", "Char", "", "$34$ stays?"};
    std::string text = formatFileText(f);
    EXPECT_NE(text.find("\"$44$$34$\",\"1\""), std::string::npos);
    FormatDefinition loaded;
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(parseFormatText(text, loaded, boxes));
    EXPECT_EQ(loaded.row(1).fieldName, ",\"");
    EXPECT_EQ(loaded.row(1).remarks, "\" stays?");
}

} // namespace
} // namespace quisk
