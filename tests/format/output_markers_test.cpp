// The output encoding and line end in the format file: stored only when they
// differ from Shift-JIS and CR+LF, so every other format keeps its bytes.
#include "common/file_io.h"
#include "common/sjis.h"
#include "format/format_file.h"
#include "format/format_texts.h"
#include "support/temp_folder.h"

#include <cstring>
#include <gtest/gtest.h>

namespace quisk {
namespace {

const char* const kEncodingRecord =
    "\"[!書出し文字コード]\",\"UTF-8 (BOM付き)\",\"\",\"\",\"\",\"\"\r\n";
const char* const kLineEndRecord = "\"[!書出し改行]\",\"LF\",\"\",\"\",\"\",\"\"\r\n";
const char* const kOutputKindRecord =
    "\"[!書出しファイル形式]\",\"区切ファイル\",\"\",\"\",\"\",\"\"\r\n";

FormatDefinition sample() {
    FormatDefinition f;
    f.row(1) = {"CODE", "1", "5", "Char", "", ""};
    f.settings.headerText = "H";
    return f;
}

using OutputMarkers = testing::TempFolder;

TEST_F(OutputMarkers, RoundTripOnDiskRightAfterTheOutputKind) {
    FormatDefinition f = sample();
    f.settings.outputEncoding = kEncodingUtf8Bom;
    f.settings.outputLineEnd = kLineEndLf;
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(saveFormatFile(path("f.qfd"), f, boxes));
    const std::string text = *sjis::decode(*readWholeFile(path("f.qfd")));
    EXPECT_NE(text.find(std::string(kOutputKindRecord) + kEncodingRecord + kLineEndRecord),
              std::string::npos);

    FormatDefinition loaded;
    ASSERT_TRUE(loadFormatFile(path("f.qfd"), loaded, boxes));
    EXPECT_EQ(loaded, f);
    EXPECT_TRUE(boxes.shown.empty());
    // saved again, the same bytes
    ASSERT_TRUE(saveFormatFile(path("g.qfd"), loaded, boxes));
    EXPECT_EQ(readWholeFile(path("g.qfd")), readWholeFile(path("f.qfd")));
}

TEST(OutputMarkersText, EachMarkerIsWrittenOnlyOffItsDefault) {
    FormatDefinition f = sample();
    const std::string plain = formatFileText(f);
    EXPECT_EQ(plain.find("[!書出し文字"), std::string::npos);
    EXPECT_EQ(plain.find("[!書出し改行"), std::string::npos);

    f.settings.outputLineEnd = kLineEndLf;
    std::string text = plain;
    text.insert(text.find(kOutputKindRecord) + std::strlen(kOutputKindRecord), kLineEndRecord);
    EXPECT_EQ(formatFileText(f), text);

    f.settings = sample().settings;
    f.settings.outputEncoding = kEncodingUtf8;
    EXPECT_NE(formatFileText(f).find("\"[!書出し文字コード]\",\"UTF-8\",\"\""), std::string::npos);
    EXPECT_EQ(formatFileText(f).find("[!書出し改行]"), std::string::npos);
}

TEST(OutputMarkersText, AFileWithoutThemMeansTheDefaultsWhateverWasLoadedBefore) {
    FormatDefinition f;
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(parseFormatText(std::string(kEncodingRecord) + kLineEndRecord, f, boxes));
    EXPECT_EQ(f.settings.outputEncoding, kEncodingUtf8Bom);
    EXPECT_EQ(f.settings.outputLineEnd, kLineEndLf);
    // The editor's open command reads over the current definition.
    ASSERT_TRUE(parseFormatText(formatFileText(sample()), f, boxes));
    EXPECT_EQ(f.settings.outputEncoding, kEncodingShiftJis);
    EXPECT_EQ(f.settings.outputLineEnd, kLineEndCrLf);
}

TEST(OutputMarkersText, UnknownValuesAreResetToTheDefaultsWithAMessage) {
    FormatDefinition f;
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(parseFormatText("\"[!書出し文字コード]\",\"EUC-JP\",\"\",\"\",\"\",\"\"\r\n"
                                "\"[!書出し改行]\",\"lf\",\"\",\"\",\"\",\"\"\r\n",
                                f, boxes));
    EXPECT_EQ(f.settings.outputEncoding, kEncodingShiftJis);
    EXPECT_EQ(f.settings.outputLineEnd, kLineEndCrLf);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0],
              (Message{"文字ｺｰﾄﾞの選択はｺﾝﾎﾞﾎﾞｯｸｽからしかできません｡", "入力ｴﾗｰ", Icon::Stop}));
    EXPECT_EQ(boxes.shown[1].text, "改行ｺｰﾄﾞの選択はｺﾝﾎﾞﾎﾞｯｸｽからしかできません｡");
}

} // namespace
} // namespace quisk
