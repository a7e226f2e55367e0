#include "format/record_reader.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

using Values = std::vector<std::string>;

Values readOne(std::string_view text, std::size_t count) {
    RecordReader reader(text);
    Values v;
    return reader.readRecord(count, v) ? v : Values{"<failed>"};
}

TEST(RecordReader, ReadsQuotedAndUnquotedValues) {
    EXPECT_EQ(readOne("\"a b\",  plain  ,\"\",x", 4), (Values{"a b", "plain", "", "x"}));
    // after a closing quote, anything up to the comma is skipped
    EXPECT_EQ(readOne("\"a\"junk,\"b\"", 2), (Values{"a", "b"}));
    // a quoted value may hold a comma or a line break
    EXPECT_EQ(readOne("\"a,b\",\"c\r\nd\"", 2), (Values{"a,b", "c\r\nd"}));
}

TEST(RecordReader, ValuesContinueOverLinesAndBlankLinesBetweenRecordsAreSkipped) {
    RecordReader reader("\r\n\"1\",\"2\"\r\n\"3\"\n\"4\",\r\n\r\n\"5\"\r\n\r\n");
    Values v;
    ASSERT_TRUE(reader.readRecord(3, v));
    EXPECT_EQ(v, (Values{"1", "2", "3"}));
    // a comma at a line end still ends its value: the next is empty
    ASSERT_TRUE(reader.readRecord(2, v));
    EXPECT_EQ(v, (Values{"4", ""}));
    ASSERT_TRUE(reader.readRecord(1, v));
    EXPECT_EQ(v, (Values{"5"}));
    EXPECT_TRUE(reader.atEnd());
}

TEST(RecordReader, AShortOrUnterminatedRecordFails) {
    EXPECT_EQ(readOne("\"a\",\"b\"", 3), Values{"<failed>"});
    EXPECT_EQ(readOne("\"a\",\"b", 2), Values{"<failed>"});
    EXPECT_EQ(readOne("", 1), Values{"<failed>"});
    EXPECT_EQ(readOne("a,", 2), (Values{"a", ""})); // a trailing comma promises a value
}

} // namespace
} // namespace quisk
