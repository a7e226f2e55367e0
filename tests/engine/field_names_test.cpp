#include "engine/field_names.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

std::string record(const std::string& name, const std::string& fixed = "") {
    return "\"" + name + "\",\"1\",\"1\",\"Char\",\"" + fixed + "\",\"\"\r\n";
}

TEST(FieldNames, AreQuotedAndJoinedInFileOrderSkippingMarkers) {
    std::string text = "\"[!先頭に名前を付ける]\",\"はい\",\"\",\"\",\"\",\"\"\r\n" + record("CODE") +
                       record("AMOUNT") + "\"[!ヘッダー]\",\"h\",\"\",\"\",\"\",\"\"\r\n" +
                       record("KIND", "X");
    EXPECT_EQ(fieldNameRowFromText(text), "\"CODE\",\"AMOUNT\",\"KIND\"");
}

TEST(FieldNames, SkipTheRecordLengthAndSelectionMarkers) {
    std::string text = "\"[!レコード長]\",\"120\",\"\",\"\",\"\",\"\"\r\n" + record("A") +
                       "\"[!対象レコード]\",\"1\",\"1\",\"2\",\"\",\"\"\r\n" + record("B");
    EXPECT_EQ(fieldNameRowFromText(text), "\"A\",\"B\"");
}

TEST(FieldNames, NamelessFixedValuesAddNothingButNamelessFieldsAddAnEmptyEntry) {
    EXPECT_EQ(fieldNameRowFromText(record("A") + record("", "X") + record("B")), "\"A\",\"B\"");
    EXPECT_EQ(fieldNameRowFromText(record("") + record("B")), "\"\",\"B\"");
    EXPECT_EQ(fieldNameRowFromText(record("")), "\"\"");
}

TEST(FieldNames, RestoreQuotesAndCommasWithoutEscapingThem) {
    EXPECT_EQ(fieldNameRowFromText(record("A$44$B") + record("say $34$hi$34$")),
              "\"A,B\",\"say \"hi\"\"");
}

TEST(FieldNames, EmptyWithoutFieldRecordsAndMissingWhenUnreadable) {
    EXPECT_EQ(fieldNameRowFromText("\"[!ヘッダー]\",\"\",\"\",\"\",\"\",\"\"\r\n"), "");
    EXPECT_FALSE(fieldNameRowFromText("\"A\",\"1\"\r\n"));
    EXPECT_FALSE(readFieldNameRow("/no/such/format.qfd"));
}

} // namespace
} // namespace quisk
