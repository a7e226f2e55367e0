// Fixed-length records: cut every N bytes whatever the bytes are, a CR LF
// after each record when the first one has it, a short last record.
#include "engine/fixed_record_reader.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quisk {
namespace {

class FixedRecords : public testing::TempFolder {
protected:
    // Every record of the file, and whether the reader saw line ends.
    std::vector<std::string> records(const std::string& bytes, std::size_t length) {
        writeBytes("in.dat", bytes);
        FixedRecordReader reader(length);
        EXPECT_TRUE(reader.open(path("in.dat")));
        std::vector<std::string> all;
        std::string_view run;
        while (reader.nextRecords(run)) {
            FixedRecordCursor cursor(run, reader.recordLength(), reader.stride());
            std::string_view record;
            while (cursor.next(record))
                all.emplace_back(record);
        }
        EXPECT_FALSE(reader.failed());
        lineEnds = reader.lineEnds();
        return all;
    }
    bool lineEnds = false;
};

using Records = std::vector<std::string>;

std::string sjisOf(const std::string& text) {
    return *sjis::encode(text);
}

TEST_F(FixedRecords, WithoutLineEndsCarriageReturnsAndLineFeedsAreData) {
    EXPECT_EQ(records("ab\r\ncd\nef\rgh", 4), (Records{"ab\r\n", "cd\ne", "f\rgh"}));
    EXPECT_FALSE(lineEnds);
    // half-width katakana take one byte each
    EXPECT_EQ(records(sjisOf("1ｱｲ2ｳｴ"), 3), (Records{sjisOf("1ｱｲ"), sjisOf("2ｳｴ")}));
}

TEST_F(FixedRecords, ACrLfAfterTheFirstRecordMeansOneAfterEvery) {
    EXPECT_EQ(records("abc\r\ndef\r\nghi\r\n", 3), (Records{"abc", "def", "ghi"}));
    EXPECT_TRUE(lineEnds);
    // a record may hold CR LF itself; only the bytes after it are skipped
    EXPECT_EQ(records("a\r\n\r\nb\r\n\r\n", 3), (Records{"a\r\n", "b\r\n"}));
    // a file of one record and its line end
    EXPECT_EQ(records("abc\r\n", 3), (Records{"abc"}));
    EXPECT_TRUE(lineEnds);
    // the last record without its line end is still whole
    EXPECT_EQ(records("abc\r\ndef", 3), (Records{"abc", "def"}));
    // a CR LF that does not follow the first record decides nothing
    EXPECT_EQ(records("ab\r\ncd\r\n", 3), (Records{"ab\r", "\ncd", "\r\n"}));
    EXPECT_FALSE(lineEnds);
}

TEST_F(FixedRecords, ALengthThatDoesNotDivideTheFileLeavesAShortLastRecord) {
    EXPECT_EQ(records("abcdefg", 3), (Records{"abc", "def", "g"}));
    EXPECT_EQ(records("abc\r\nde\r\n", 3), (Records{"abc", "de"})); // its CR LF dropped
    EXPECT_EQ(records("abc\r\n\r\n", 3), (Records{"abc"}));         // nothing but a line end
    EXPECT_EQ(records("ab", 3), (Records{"ab"}));
    EXPECT_EQ(records("", 3), (Records{}));
}

TEST_F(FixedRecords, RecordsStayWholeAcrossReads) {
    // records of 7 bytes do not divide the reader's block
    std::string bytes;
    for (int i = 0; i < 400000; ++i)
        bytes += std::to_string(1000000 + i);
    bytes += "xyz";
    Records all = records(bytes, 7);
    ASSERT_EQ(all.size(), 400001u);
    EXPECT_EQ(all[149796], "1149796");
    EXPECT_EQ(all[399999], "1399999");
    EXPECT_EQ(all.back(), "xyz");
    std::string withEnds;
    for (int i = 0; i < 200000; ++i)
        withEnds += std::to_string(1000000 + i) + "\r\n";
    all = records(withEnds, 7);
    ASSERT_EQ(all.size(), 200000u);
    EXPECT_EQ(all[116508], "1116508");
}

TEST_F(FixedRecords, AMissingSourceSaysWhy) {
    FixedRecordReader reader(3);
    EXPECT_FALSE(reader.open(path("none")));
    EXPECT_EQ(reader.error(), ENOENT);
    EXPECT_FALSE(reader.open(dir.string()));
    EXPECT_EQ(reader.error(), EISDIR);
}

} // namespace
} // namespace quisk
