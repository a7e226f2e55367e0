// Converting records that are fixed-length or selected by type, and several
// layouts of one source in one pass.
#include "engine/record_conversion.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;

class RecordConversion : public testing::TempFolder {
protected:
    static FormatDefinition layout(const std::string& length, const std::string& start,
                                   const std::string& fieldLength) {
        FormatDefinition f;
        f.row(1) = {"A", start, fieldLength, "Char", "", ""};
        f.settings.recordLength = length;
        return f;
    }
    static void select(FormatDefinition& f, const std::string& start, const std::string& length,
                       const std::string& text) {
        f.settings.recordSelectStart = start;
        f.settings.recordSelectLength = length;
        f.settings.recordSelectText = text;
    }
    ConversionTarget to(const std::string& name, FormatDefinition f) {
        return {std::move(f), "", path(name)};
    }
    ConversionResult run(const std::string& sourceBytes, std::vector<ConversionTarget> targets) {
        writeBytes("in.dat", sourceBytes);
        return saveRecords(targets, {path("in.dat")}, path("Quisk.log"));
    }
    std::string logOutcome() {
        std::string log = readText("Quisk.log");
        return log.substr(log.find("\r\n") + 2);
    }
};

std::string sjisOf(const std::string& text) {
    return *sjis::encode(text);
}

TEST_F(RecordConversion, FixedRecordsWithAndWithoutLineEndsGiveTheSameOutput) {
    for (const char* source : {"1abc2def", "1abc\r\n2def\r\n"}) {
        ConversionResult r = run(source, {to("out.csv", layout("4", "2", "3"))});
        ASSERT_TRUE(r.ok) << source;
        EXPECT_EQ(r.recordCount, 2);
        EXPECT_EQ(readText("out.csv"), "\"abc\"\r\n\"def\"\r\n");
        EXPECT_EQ(r.notes.recordLength, 4);
    }
    EXPECT_TRUE(
        run("1abc\r\n2def\r\n", {to("out.csv", layout("4", "2", "3"))}).notes.lineEndsAfterRecords);
    EXPECT_EQ(logOutcome(), "2件のﾃﾞｰﾀの保存が終了しました｡\r\n"
                            "ﾚｺｰﾄﾞ長4ﾊﾞｲﾄ､各ﾚｺｰﾄﾞの後に改行(CR LF)あり｡\r\n");
    run("1abc2def", {to("out.csv", layout("4", "2", "3"))});
    EXPECT_NE(logOutcome().find("ﾚｺｰﾄﾞ長4ﾊﾞｲﾄ､改行なし｡"), std::string::npos);
}

TEST_F(RecordConversion, AShortLastRecordIsConvertedAsAShortLineAndNoted) {
    ConversionResult r = run("1abc2d", {to("out.csv", layout("4", "2", "3"))});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.recordCount, 2);
    EXPECT_EQ(readText("out.csv"), "\"abc\"\r\n\"d\"\r\n");
    EXPECT_EQ(r.notes.shortLastRecordBytes, 2);
    EXPECT_EQ(recordNoteLines(r.notes, {path("out.csv")}),
              std::vector<std::string>{"最後のﾚｺｰﾄﾞは2ﾊﾞｲﾄで､ﾚｺｰﾄﾞ長より短いまま変換しました｡"});
    EXPECT_EQ(run("1abc2def", {to("out.csv", layout("4", "2", "3"))}).notes.shortLastRecordBytes,
              0);
}

TEST_F(RecordConversion, SelectionComparesBytesAtItsPosition) {
    FormatDefinition data = layout("4", "1", "4");
    select(data, "1", "1", "2");
    ConversionResult r = run("1hdr2ab 2cd 8trl9end", {to("out.csv", data)});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(readText("out.csv"), "\"2ab \"\r\n\"2cd \"\r\n");
    EXPECT_EQ(r.recordCount, 5);
    EXPECT_EQ(r.notes.skipped, std::vector<long long>{3});
    EXPECT_EQ(recordNoteLines(r.notes, {path("out.csv")}),
              std::vector<std::string>{"3件のﾚｺｰﾄﾞは対象ﾚｺｰﾄﾞではないため飛ばしました｡"});
    EXPECT_NE(logOutcome().find("3件のﾚｺｰﾄﾞは対象ﾚｺｰﾄﾞ"), std::string::npos);

    // two bytes at the end of the record
    select(data, "3", "2", "d ");
    run("1hdr2ab 2cd 8trl9end", {to("out.csv", data)});
    EXPECT_EQ(readText("out.csv"), "\"2cd \"\r\n");
    // a position past a short record's end does not match it
    select(data, "4", "1", "d");
    run("2abd2c", {to("out.csv", data)});
    EXPECT_EQ(readText("out.csv"), "\"2abd\"\r\n");
}

TEST_F(RecordConversion, SelectionOfDoubleByteTextComparesItsShiftJisBytes) {
    FormatDefinition f = layout("6", "5", "2");
    select(f, "3", "2", "漢");
    ConversionResult r = run(sjisOf("AB漢01CDｶﾅ02EF漢03"), {to("out.csv", f)});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(readText("out.csv"), "\"01\"\r\n\"03\"\r\n");
    EXPECT_EQ(r.notes.skipped, std::vector<long long>{1});
    // the text's half-width katakana are one byte each
    select(f, "3", "2", "ｶﾅ");
    run(sjisOf("AB漢01CDｶﾅ02EF漢03"), {to("out.csv", f)});
    EXPECT_EQ(readText("out.csv"), "\"02\"\r\n");
}

TEST_F(RecordConversion, ASelectionThatCannotMatchFailsTheRunInsteadOfSkippingAll) {
    FormatDefinition f = layout("4", "1", "4");
    select(f, "1", "2", "2"); // a length that is not the text's
    ConversionResult r = run("2abc", {to("out.csv", f)});
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.failure.selectionUnusable);
    EXPECT_FALSE(pathExists(path("out.csv")));
    select(f, "0", "1", "2");
    EXPECT_TRUE(run("2abc", {to("out.csv", f)}).failure.selectionUnusable);
}

TEST_F(RecordConversion, RowRangesCountEveryRecordSelectedOrNot) {
    FormatDefinition f = layout("2", "1", "2");
    select(f, "1", "1", "d");
    f.settings.excludeFrom = "3";
    f.settings.excludeTo = "3"; // the second "d" record
    f.settings.writeAsIsFrom = "4";
    f.settings.writeAsIsTo = "4"; // copied although it is no "d" record
    ConversionResult r = run("d1h2d3t4d5", {to("out.csv", f)});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(readText("out.csv"), "\"d1\"\r\nt4\r\n\"d5\"\r\n");
    EXPECT_EQ(r.notes.skipped, std::vector<long long>{1}); // h2
}

TEST_F(RecordConversion, LinesCanBeSelectedToo) {
    FormatDefinition f = layout("0", "2", "3");
    select(f, "1", "1", "D");
    ConversionResult r = run("Habc\r\nDxyz\r\nTqqq\r\n", {to("out.csv", f)});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(readText("out.csv"), "\"xyz\"\r\n");
    EXPECT_EQ(r.notes.recordLength, 0);
    EXPECT_EQ(r.recordCount, 3);
}

TEST_F(RecordConversion, ManyRunsOnBothCoresGiveWhatTheLineConversionGives) {
    // 3 MB of 30-byte records with double-byte text cut by the layout, read
    // in several runs that are each split between two threads
    FormatDefinition f = layout("30", "1", "9");
    f.row(2) = {"B", "10", "7", "Char", "", ""};
    f.row(3) = {"C", "17", "14", "Num", "", ""};
    f.settings.excludeFrom = "70000";
    f.settings.excludeTo = "70001";
    f.settings.writeAsIsFrom = "99999";
    f.settings.writeAsIsTo = "100000";
    std::string lines, records;
    for (int i = 0; i < 100000; ++i) {
        std::string record = sjisOf(i % 3 ? "ｱ漢字ﾃｽﾄ" : "表ﾎﾟ能") + std::to_string(1000000 + i);
        record.resize(30, i % 7 ? ' ' : '\x81');
        records += record;
        lines += record + "\r\n";
    }
    ConversionResult byRecords = run(records, {to("records.csv", f)});
    ASSERT_TRUE(byRecords.ok);
    EXPECT_EQ(byRecords.recordCount, 100000);
    FormatDefinition asLines = f;
    asLines.settings.recordLength = "0";
    writeBytes("lines.txt", lines);
    ASSERT_TRUE(
        saveData(asLines, "", {path("lines.txt"), path("lines.csv"), path("Quisk.log")}).ok);
    EXPECT_EQ(readWholeFile(path("records.csv")), readWholeFile(path("lines.csv")));
    // with a selection, the same records as the lines that hold the text
    select(f, "2", "2", "漢");
    ConversionResult selected = run(records, {to("records.csv", f)});
    // a third of the records lack it; one of them is excluded, one copied
    EXPECT_EQ(selected.notes.skipped, std::vector<long long>{33334 - 2});
}

class SeveralLayouts : public RecordConversion {
protected:
    std::vector<ConversionTarget> headerDataTrailer() {
        FormatDefinition header = layout("4", "2", "3");
        select(header, "1", "1", "1");
        header.settings.headerText = "HEADER";
        FormatDefinition data = layout("4", "2", "3");
        select(data, "1", "1", "2");
        FormatDefinition all = layout("4", "1", "1");
        return {to("header.csv", header), to("data.csv", data), to("all.csv", all)};
    }
};

TEST_F(SeveralLayouts, EachDestinationGetsItsRecordsFromOnePass) {
    ConversionResult r = run("1hdr2abc2def8trl", headerDataTrailer());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.recordCount, 4);
    EXPECT_EQ(readText("header.csv"), "HEADER\r\n\"hdr\"\r\n");
    EXPECT_EQ(readText("data.csv"), "\"abc\"\r\n\"def\"\r\n");
    EXPECT_EQ(readText("all.csv"), "\"1\"\r\n\"2\"\r\n\"2\"\r\n\"8\"\r\n");
    EXPECT_EQ(r.notes.skipped, (std::vector<long long>{3, 2, -1}));
    auto lines = recordNoteLines(r.notes, {"h.csv", "d.csv", "a.csv"});
    EXPECT_EQ(lines,
              (std::vector<std::string>{"h.csv: 3件のﾚｺｰﾄﾞは対象ﾚｺｰﾄﾞではないため飛ばしました｡",
                                        "d.csv: 2件のﾚｺｰﾄﾞは対象ﾚｺｰﾄﾞではないため飛ばしました｡"}));
    EXPECT_NE(readText("Quisk.log").find(path("header.csv") + "､" + path("data.csv") + "､"),
              std::string::npos);
}

TEST_F(SeveralLayouts, OneFailingDestinationLeavesEveryDestinationAsItWas) {
    writeText("header.csv", "old header");
    auto targets = headerDataTrailer();
    targets[1].destination = "/dev/full"; // every write fails
    ConversionResult r = run("1hdr2abc2def8trl", targets);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failure.file, RunFailure::File::Destination);
    EXPECT_EQ(r.failure.path, "/dev/full");
    EXPECT_EQ(readText("header.csv"), "old header");
    EXPECT_FALSE(pathExists(path("all.csv")));
    EXPECT_NE(logOutcome().find("件目でﾃﾞｰﾀの保存に失敗しました｡"), std::string::npos);
}

// The destinations are all written when the last one cannot be put into
// place: its folder is gone by then. The first, an existing file, must not
// have been replaced, and no hidden temporary file stays beside it.
TEST_F(SeveralLayouts, ADestinationThatCannotBePutIntoPlaceLeavesTheOthersUnreplaced) {
    writeText("header.csv", "old header");
    fs::create_directory(dir / "gone");
    auto targets = headerDataTrailer();
    targets[2].destination = path("gone/all.csv");
    const std::string source = path("in.fifo");
    ASSERT_EQ(::mkfifo(source.c_str(), 0600), 0);
    // The run opens its source once every destination is open: the writer
    // then takes the last one's folder away and sends the records.
    auto writer = std::async(std::launch::async, [&] {
        std::ofstream out(source, std::ios::binary);
        fs::remove(dir / "gone");
        out << "1hdr2abc2def8trl";
    });
    ConversionResult r = saveRecords(targets, {source}, path("Quisk.log"));
    writer.get();
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failure.file, RunFailure::File::Destination);
    EXPECT_EQ(r.failure.path, path("gone/all.csv"));
    EXPECT_EQ(readText("header.csv"), "old header");
    EXPECT_FALSE(pathExists(path("data.csv")));
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
}

TEST_F(SeveralLayouts, AFormatThatCannotCutFailsThemAll) {
    auto targets = headerDataTrailer();
    targets[2].format.row(1).startPosition = "0";
    ConversionResult r = run("1hdr2abc", targets);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.recordCount, 1);
    EXPECT_FALSE(pathExists(path("header.csv")));
    EXPECT_FALSE(pathExists(path("data.csv")));
}

} // namespace
} // namespace quisk
