// The record length and record-type selection in the format file: stored
// only when set, so every other format keeps its bytes.
#include "common/file_io.h"
#include "format/format_file.h"
#include "format/selector_rules.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

FormatDefinition transferData() {
    FormatDefinition f;
    f.row(1) = {"種別", "1", "1", "Char", "", ""};
    f.row(2) = {"名前", "2", "30", "Char", "", "ｶﾅ, 半角"};
    f.settings.recordLength = "120";
    f.settings.recordSelectStart = "1";
    f.settings.recordSelectLength = "1";
    f.settings.recordSelectText = "2";
    return f;
}

using RecordMarkers = testing::TempFolder;

TEST_F(RecordMarkers, RoundTripOnDiskAndSaveAgainByteForByte) {
    FormatDefinition f = transferData();
    f.settings.recordSelectStart = "3";
    f.settings.recordSelectLength = "4";
    f.settings.recordSelectText = "ｶﾅ,\"漢"; // double-byte, a comma and a quote
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(saveFormatFile(path("f.qfd"), f, boxes));
    FormatDefinition loaded;
    ASSERT_TRUE(loadFormatFile(path("f.qfd"), loaded, boxes));
    EXPECT_EQ(loaded, f);
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_TRUE(saveFormatFile(path("g.qfd"), loaded, boxes));
    EXPECT_EQ(readWholeFile(path("g.qfd")), readWholeFile(path("f.qfd")));
}

TEST(RecordMarkersText, SixValuesEachBeforeTheRowRanges) {
    const std::string text = formatFileText(transferData());
    EXPECT_NE(text.find("\"[!レコード長]\",\"120\",\"\",\"\",\"\",\"\"\r\n"
                        "\"[!対象レコード]\",\"1\",\"1\",\"2\",\"\",\"\"\r\n"
                        "\"[!対象外範囲]\""),
              std::string::npos);
}

TEST(RecordMarkersText, AFormatWithoutThemWritesNeither) {
    FormatDefinition f = transferData();
    f.settings.recordLength = "0";
    f.settings.recordSelectStart = f.settings.recordSelectLength = "0";
    f.settings.recordSelectText.clear();
    const std::string text = formatFileText(f);
    EXPECT_EQ(text.find("[!レコード長]"), std::string::npos);
    EXPECT_EQ(text.find("[!対象レコード]"), std::string::npos);
    EXPECT_EQ(text, formatFileText([] {
                  FormatDefinition g = transferData();
                  g.settings = FormatSettings{};
                  return g;
              }()));
}

TEST(RecordMarkersText, AStartTypedBeforeTheTextIsKept) {
    FormatDefinition f;
    f.settings.recordSelectStart = "5";
    ScriptedMessageBoxes boxes;
    FormatDefinition loaded;
    ASSERT_TRUE(parseFormatText(formatFileText(f), loaded, boxes));
    EXPECT_EQ(loaded.settings.recordSelectStart, "5");
    EXPECT_FALSE(loaded.settings.hasRecordSelection());
}

TEST(RecordMarkersText, AFileWithoutThemMeansLinesAndEveryRecord) {
    ScriptedMessageBoxes boxes;
    FormatDefinition f = transferData();
    // The editor's open command reads over the current definition.
    ASSERT_TRUE(parseFormatText(formatFileText(FormatDefinition{}), f, boxes));
    EXPECT_FALSE(f.settings.hasRecordLength());
    EXPECT_FALSE(f.settings.hasRecordSelection());
    EXPECT_EQ(f.settings, FormatSettings{});
}

TEST(RecordMarkersText, LoadedNumbersFollowTheBoxesRules) {
    ScriptedMessageBoxes boxes;
    FormatDefinition f;
    ASSERT_TRUE(parseFormatText("\"[!レコード長]\",\"12x0\",\"\",\"\",\"\",\"\"\r\n"
                                "\"[!対象レコード]\",\"99999\",\"1\",\"2\",\"\",\"\"\r\n",
                                f, boxes));
    EXPECT_EQ(f.settings.recordLength, "120");
    EXPECT_EQ(f.settings.recordSelectStart, "32767");
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"数字しか入力できません｡",
                                                       "1から32767までの数字を入力してください｡"}));
}

TEST(RecordSelectionCheck, TheLengthMustBeTheTextsByteCount) {
    FormatSettings s;
    EXPECT_FALSE(checkRecordSelection(s)); // no selection
    s.recordSelectStart = "1";
    s.recordSelectLength = "1";
    s.recordSelectText = "2";
    EXPECT_FALSE(checkRecordSelection(s));
    s.recordSelectText = "漢";
    EXPECT_TRUE(checkRecordSelection(s));
    s.recordSelectLength = "2";
    EXPECT_FALSE(checkRecordSelection(s));
    s.recordSelectText = "ｶﾅ"; // two half-width letters, one byte each
    EXPECT_FALSE(checkRecordSelection(s));
    s.recordSelectStart = "0";
    EXPECT_TRUE(checkRecordSelection(s));
}

TEST_F(RecordMarkers, TheBundledSampleSavesByteForByte) {
    const std::string sample = std::string(QUISK_SOURCE_DIR) + "/examples/sales.qfd";
    ScriptedMessageBoxes boxes;
    FormatDefinition f;
    ASSERT_TRUE(loadFormatFile(sample, f, boxes));
    ASSERT_TRUE(saveFormatFile(path("again.qfd"), f, boxes));
    EXPECT_EQ(readWholeFile(path("again.qfd")), readWholeFile(sample));
}

} // namespace
} // namespace quisk
