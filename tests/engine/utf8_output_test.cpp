// Runs in UTF-8 and with LF line ends: what is cut stays Shift-JIS byte
// positions, what is written changes.
#include "common/platform.h"
#include "engine/conversion.h"
#include "engine/run_command.h"
#include "support/temp_folder.h"

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace quisk {
namespace {

constexpr const char* kBom = "\xEF\xBB\xBF";

class Utf8Output : public testing::TempFolder {
protected:
    ConversionResult run(const std::string& sourceBytes) {
        writeBytes("in.txt", sourceBytes);
        return saveData(format, fieldNameRow, {path("in.txt"), path("out.csv"), path("Quisk.log")});
    }
    std::string output() const { return readWholeFile(path("out.csv")).value_or("<missing>"); }

    FormatDefinition format;
    std::string fieldNameRow;
};

TEST_F(Utf8Output, EveryPartOfTheDestinationIsWrittenInUtf8) {
    FormatSettings& s = format.settings;
    s.outputEncoding = kEncodingUtf8;
    s.headerText = "ﾍｯﾀﾞｰ\r\n見出し";
    s.footerText = "合計";
    s.fieldNamesOnTop = true;
    s.textQuoteChar = "「";
    s.separatorChar = "、";
    s.writeAsIsFrom = "1";
    s.writeAsIsTo = "1";
    fieldNameRow = "\"名前\",\"区分\"";
    format.row(1) = {"名前", "1", "4", "Char", "", ""}; // four bytes: two characters
    format.row(2) = {"", "", "", "", "～固定", ""};
    format.row(3) = {"区分", "5", "3", "Char", "", ""}; // ends inside a character
    format.row(4) = {"頭", "1", "1", "Char", "", ""};   // a lead byte alone
    ConversionResult r = run(*sjis::encode("そのまま\r\n漢字ｶﾅ表示\r\n"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.replacedCount, 0);
    EXPECT_EQ(output(), "ﾍｯﾀﾞｰ\r\n見出し\r\n\"名前\",\"区分\"\r\nそのまま\r\n"
                        "「漢字「～固定「ｶﾅ・「、「・「\r\n合計\r\n");
}

TEST_F(Utf8Output, ManyBlocksGiveTheShiftJisOutputInUtf8WithOneBomAndLfEnds) {
    // Enough lines for several runs of the record loop, each split between
    // the two cores.
    std::string line = *sjis::encode("0001漢字ﾃｽﾄ～①ABCDEFGHIJ表示");
    std::string source;
    for (int i = 0; source.size() < 3'500'000; ++i)
        source += line + (i % 7 ? "\r\n" : "\r");
    format.row(1) = {"A", "1", "8", "Char", "", ""};
    format.row(2) = {"B", "9", "", "Num", "", ""};
    format.settings.headerText = "始め";
    format.settings.footerText = "終わり";
    format.settings.writeAsIsFrom = "5";
    format.settings.writeAsIsTo = "9";
    ASSERT_TRUE(run(source).ok);
    const std::string crlf = *sjis::decode(output());
    std::string expected;
    for (std::size_t i = 0; i < crlf.size(); ++i)
        if (!(crlf[i] == '\r' && i + 1 < crlf.size() && crlf[i + 1] == '\n'))
            expected += crlf[i];

    format.settings.outputEncoding = kEncodingUtf8Bom;
    format.settings.outputLineEnd = kLineEndLf;
    ConversionResult r = run(source);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.replacedCount, 0);
    const std::string written = output();
    EXPECT_EQ(written.substr(0, 3), kBom);
    EXPECT_EQ(written.find(kBom, 3), std::string::npos);
    EXPECT_TRUE(written.substr(3) == expected); // not EXPECT_EQ: megabytes of diff
    EXPECT_EQ(written.find('\r'), std::string::npos);
}

TEST_F(Utf8Output, ReplacementsAreCountedOnceOverManyBlocks) {
    // Each block is converted in two parts on two threads: every unassigned
    // pair must be counted once, whichever part it falls in.
    const std::string line = "AB\x85\x40" + *sjis::encode("漢字") + "\r\n";
    format.settings.outputEncoding = kEncodingUtf8;
    format.row(1) = {"A", "1", "8", "Char", "", ""};
    ConversionResult one = run(line);
    ASSERT_TRUE(one.ok);
    ASSERT_GT(one.replacedCount, 0);
    const std::string oneOutput = output();

    std::string source;
    long long lines = 0;
    for (; source.size() < 3'500'000; ++lines)
        source += line;
    ConversionResult many = run(source);
    ASSERT_TRUE(many.ok);
    EXPECT_EQ(many.replacedCount, lines * one.replacedCount);
    std::string expected;
    for (long long i = 0; i < lines; ++i)
        expected += oneOutput;
    EXPECT_TRUE(output() == expected); // not EXPECT_EQ: megabytes of diff
}

TEST_F(Utf8Output, LinesTooLongForABlockAreConvertedAcrossTheirPieces) {
    // One byte first, so that pieces of whole megabytes end inside a
    // character; copied as is and also formatted as one field.
    std::string line = "a";
    for (int i = 0; i < 1'600'000; ++i)
        line += "\x8A\xBF"; // 漢
    format.row(1) = {"A", "1", "", "Char", "", ""};
    format.settings.writeAsIsFrom = "1";
    format.settings.writeAsIsTo = "1";
    format.settings.outputEncoding = kEncodingUtf8;
    ConversionResult r = run(line + "\r\n" + line + "\r\nb\r\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.replacedCount, 0);
    const std::string text = *sjis::decode(line);
    EXPECT_TRUE(output() == text + "\r\n\"" + text + "\"\r\n\"b\"\r\n");
}

TEST_F(Utf8Output, LfAlsoAppliesToShiftJisOutputAndAnEmptyRunKeepsItsBom) {
    format.row(1) = {"A", "1", "2", "Char", "", ""};
    format.settings.outputLineEnd = kLineEndLf;
    format.settings.writeAsIsFrom = "2";
    format.settings.writeAsIsTo = "2";
    format.settings.footerText = "F\r\n";
    ASSERT_TRUE(run(*sjis::encode("表A\r\n表B\r\n")).ok);
    EXPECT_EQ(output(), *sjis::encode("\"表\"\n表B\nF\n\n"));

    format.settings = FormatSettings{};
    format.settings.outputEncoding = kEncodingUtf8Bom;
    ASSERT_TRUE(run("").ok);
    EXPECT_EQ(output(), kBom);
}

TEST_F(Utf8Output, InvalidBytesAreReplacedAndCountedOnlyForUtf8) {
    format.row(1) = {"A", "1", "", "Char", "", ""};
    format.settings.writeAsIsFrom = "2";
    format.settings.writeAsIsTo = "2";
    // A record with 0x80 and 0xFD, which Windows reads as U+0080 and U+F8F1,
    // and a pair code page 932 does not assign; a copied line with 0xFF and
    // a lead byte at its end, which a record would have turned into "・".
    const std::string source = "a\x80\x85\x40\xFD\r\nb\xFF\x88\r\nc\x88\r\n";
    ConversionResult sjisRun = run(source);
    EXPECT_EQ(sjisRun.replacedCount, 0);
    EXPECT_EQ(output(), "\"a\x80\x85\x40\xFD\"\r\nb\xFF\x88\r\n\"c\x81\x45\"\r\n");

    format.settings.outputEncoding = kEncodingUtf8;
    ConversionResult r = run(source);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.replacedCount, 2);
    EXPECT_EQ(output(), "\"a\u0080\uFFFD\uF8F1\"\r\nb\uF8F3\uFFFD\r\n\"c・\"\r\n");
}

TEST_F(Utf8Output, ADestinationThatTakesItsTimeGetsEveryPieceOnce) {
    // A FIFO read slowly keeps the writer waiting on each block, so that the
    // formatting thread converts the next blocks' lines in pieces meanwhile:
    // the pieces must join into the whole output, each replacement counted
    // once, with LF line ends however the lines fall.
    const std::string line = "AB\x85\x40" + *sjis::encode("漢字ｶﾅ") + "\r\n";
    format.settings.outputEncoding = kEncodingUtf8;
    format.settings.outputLineEnd = kLineEndLf;
    format.row(1) = {"A", "1", "", "Char", "", ""};
    std::string source;
    long long lines = 0;
    for (; source.size() < 3'000'000; ++lines)
        source += line;
    writeBytes("in.txt", source);
    const std::string fifo = path("out.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int readEnd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(readEnd, 0);
    std::atomic<bool> done = false;
    std::string received;
    std::thread reader([&] {
        std::vector<char> buffer(16 << 10);
        for (;;) {
            const ssize_t n = ::read(readEnd, buffer.data(), buffer.size());
            if (n > 0)
                received.append(buffer.data(), static_cast<std::size_t>(n));
            else if (n == 0 && done)
                break;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    ConversionResult r = saveData(format, fieldNameRow, {path("in.txt"), fifo, path("Quisk.log")});
    done = true;
    reader.join();
    ::close(readEnd);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.replacedCount, lines);
    const std::string expected = "\"AB\uFFFD漢字ｶﾅ\"\n";
    ASSERT_EQ(received.size(), expected.size() * static_cast<std::size_t>(lines));
    for (long long i = 0; i < lines; ++i)
        ASSERT_EQ(received.compare(static_cast<std::size_t>(i) * expected.size(), expected.size(),
                                   expected),
                  0)
            << "line " << i + 1;
}

class Utf8Run : public testing::TempFolder {
protected:
    RunReport run(const std::string& formatText) {
        request.sourcePath = writeBytes("in.txt", "ab\r\n\x85\x40\r\n");
        request.destinationPath = path("out.csv");
        request.formatPath = writeText("f.qfd", formatText);
        request.logDirectory = dir.string();
        request.overwriteExisting = true;
        return runJob(request, boxes, launcher, observer);
    }
    RunRequest request;
    ScriptedMessageBoxes boxes;
    RecordingLauncher launcher;
    RunObserver observer;
};

const char* const kUtf8Format = "\"[!書出し文字コード]\",\"UTF-8\",\"\",\"\",\"\",\"\"\r\n"
                                "\"[!書出し改行]\",\"LF\",\"\",\"\",\"\",\"\"\r\n"
                                "\"[!先頭に名前を付ける]\",\"はい\",\"\",\"\",\"\",\"\"\r\n"
                                "\"名前\",\"1\",\"2\",\"Char\",\"\",\"\"\r\n";

TEST_F(Utf8Run, TheFormatChoosesTheOutputAndTheMessageCountsReplacements) {
    RunReport r = run(kUtf8Format);
    EXPECT_EQ(r.status, RunStatus::Completed);
    EXPECT_EQ(r.replacedCount, 1);
    // the field-name line skips the two markers like every other marker
    EXPECT_EQ(readWholeFile(path("out.csv")), "\"名前\"\n\"ab\"\n\"\uFFFD\"\n");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "2件のﾃﾞｰﾀの保存が終了しました｡\r"
                                   "1文字をUTF-8に変換できず､U+FFFDに置き換えました｡");
    EXPECT_EQ(readText("Quisk.log").find("U+FFFD"), std::string::npos); // the log stays two lines
}

} // namespace
} // namespace quisk
