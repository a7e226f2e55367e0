#include "engine/line_reader.h"
#include "support/temp_folder.h"

namespace quisk {
namespace {

class Lines : public testing::TempFolder {
protected:
    // Reads a file run by run and splits each run into lines, checking that
    // no run starts with the line feed of a line end split between reads.
    std::vector<std::string> read(const std::string& bytes) {
        writeBytes("in.txt", bytes);
        LineReader reader;
        EXPECT_TRUE(reader.open(path("in.txt")));
        std::vector<std::string> lines;
        std::string_view run;
        bool previousEndedWithCr = false;
        while (reader.nextLines(run)) {
            EXPECT_FALSE(previousEndedWithCr && !run.empty() && run.front() == '\n');
            previousEndedWithCr = !run.empty() && run.back() == '\r';
            LineCursor cursor(run);
            std::string_view line;
            while (cursor.next(line))
                lines.emplace_back(line);
        }
        EXPECT_FALSE(reader.failed());
        return lines;
    }
};

TEST_F(Lines, CarriageReturnLineFeedSplitAcrossReadsIsOneLineEnd) {
    std::string first(LineReader::kBlockSize - 1, 'a');
    auto lines = read(first + "\r\nnext\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], "next");
}

TEST_F(Lines, LinesLongerThanABlockGrowTheBuffer) {
    std::string longLine(3 * LineReader::kBlockSize + 5, 'x');
    auto lines = read("a\r\n" + longLine + "\r\n" + longLine);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], longLine);
    EXPECT_EQ(lines[2], longLine);
}

TEST_F(Lines, TheLastLineNeedsNoLineEnd) {
    EXPECT_EQ(read("a\r\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(read("\r\n"), (std::vector<std::string>{""}));
    EXPECT_EQ(read("\r\r"), (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(read("").empty());
    EXPECT_EQ(read("\n"), (std::vector<std::string>{"\n"}));
    EXPECT_EQ(read("a\n\r\n\nb"), (std::vector<std::string>{"a\n", "\nb"}));
}

TEST_F(Lines, RefusesFoldersAndMissingFiles) {
    LineReader reader;
    EXPECT_FALSE(reader.open(dir.string()));
    EXPECT_FALSE(reader.open(path("missing")));
}

} // namespace
} // namespace quisk
