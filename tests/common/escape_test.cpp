#include "common/escape.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

TEST(Escape, QuotesAndCommasBecomePlaceholdersAndComeBack) {
    EXPECT_EQ(changeDouble(",\""), "$44$$34$");
    EXPECT_EQ(restoreDouble("$44$$34$"), ",\"");
    EXPECT_EQ(changeDouble("say \"hi\", ok"), "say $34$hi$34$$44$ ok");
    EXPECT_EQ(restoreDouble(changeDouble("a,b\"c")), "a,b\"c");
    EXPECT_EQ(changeDouble("plain $ text"), "plain $ text");
}

TEST(Escape, LiteralPlaceholdersCannotSurviveARoundTrip) {
    EXPECT_EQ(restoreDouble(changeDouble("$34$ and $44$")), "\" and ,");
    EXPECT_EQ(restoreDouble("$34$34$"), "\"34$");
    EXPECT_EQ(restoreDouble("$3$34$4$"), "$3\"4$");
}

} // namespace
} // namespace quisk
