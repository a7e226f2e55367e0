#include "format/format_definition.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

TEST(DecimalValue, ReadsWhatANumberTypedByHandMeans) {
    EXPECT_EQ(decimalValue(""), 0);
    EXPECT_EQ(decimalValue("0042"), 42);
    EXPECT_EQ(decimalValue(" 7"), 7);
    EXPECT_EQ(decimalValue("-5"), -5);
    EXPECT_EQ(decimalValue("12abc"), 12); // stored files rely on the leading digits
    EXPECT_EQ(decimalValue("1 2"), 12);
    EXPECT_EQ(decimalValue("abc"), 0);
}

TEST(DecimalValue, SaturatesInsteadOfOverflowing) {
    constexpr long long kCeiling = 1'000'000'000'000'000'000LL;
    EXPECT_EQ(decimalValue("999999999999999999"), kCeiling - 1);
    EXPECT_EQ(decimalValue("1000000000000000000"), kCeiling);
    EXPECT_EQ(decimalValue("9999999999999999999"), kCeiling);
    EXPECT_EQ(decimalValue("-9999999999999999999"), -kCeiling);
    EXPECT_EQ(decimalValue(std::string(400, '9') + "x"), kCeiling);
}

} // namespace
} // namespace quisk
