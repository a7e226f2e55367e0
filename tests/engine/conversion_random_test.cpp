// Compares whole conversions of random sources against a plain line-by-line
// reading of the rules, across reading blocks and output blocks.
#include "engine/conversion.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <random>

namespace quisk {
namespace {

bool lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool trail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// A field's bytes read as a string of their own.
std::string fieldBytes(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        auto b = static_cast<unsigned char>(field[i]);
        if (!lead(b)) {
            out += field[i];
        } else if (i + 1 < field.size() && trail(static_cast<unsigned char>(field[i + 1]))) {
            out += field.substr(i, 2);
            ++i;
        } else {
            out += "\x81\x45";
        }
    }
    return out;
}

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r') {
            line += bytes[i];
            continue;
        }
        lines.push_back(line);
        line.clear();
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

struct Row {
    long long start, length;
    bool numeric;
    std::string fixed;
};

std::string expected(const std::string& source, const std::vector<Row>& rows, bool delimited,
                     long long excludeFrom, long long excludeTo, long long asIsFrom,
                     long long asIsTo) {
    std::string out;
    long long number = 0;
    for (const std::string& line : splitLines(source)) {
        ++number;
        if (excludeFrom <= number && number <= excludeTo)
            continue;
        if (asIsFrom <= number && number <= asIsTo) {
            out += line + "\r\n";
            continue;
        }
        bool separatorDue = false;
        for (const Row& r : rows) {
            if (!r.fixed.empty()) {
                out += r.fixed;
                separatorDue = false;
                continue;
            }
            long long size = static_cast<long long>(line.size());
            long long n = r.length == 0 ? size - r.start + 1 : std::min(r.length, size - r.start + 1);
            std::string value = n > 0 ? fieldBytes(line.substr(r.start - 1, n)) : "";
            const char* quote = r.numeric ? "'" : "\"";
            if (delimited)
                out += std::string(separatorDue ? "|" : "") + quote + value + quote;
            else
                out += value;
            separatorDue = true;
        }
        out += "\r\n";
    }
    return out;
}

class RandomConversion : public testing::TempFolder {};

TEST_F(RandomConversion, MatchesTheRulesLineByLine) {
    std::mt19937 random(20261207);
    const char alphabet[] = {'A', '1', ' ', '"', ',', '\r', '\n', '\x81', '\x45', '\x8A',
                             '\xBF', '\x9F', '\xE0', '\xFC', '\xB1', '\x80', '\x7F', '\xFD'};
    for (int round = 0; round < 12; ++round) {
        // Small sources, and sources of several reading blocks.
        std::size_t size = round % 3 == 0 ? 3'500'000 : random() % 2000;
        std::string source;
        source.reserve(size);
        while (source.size() < size) {
            // mostly ordinary lines, with odd bytes and line ends mixed in
            std::size_t lineLength = random() % 60;
            for (std::size_t i = 0; i < lineLength; ++i)
                source += alphabet[random() % (random() % 4 ? 5 : sizeof alphabet)];
            source += random() % 5 ? "\r\n" : (random() % 2 ? "\r" : "\n");
        }
        FormatDefinition format;
        format.settings.textQuoteNum = "'";
        format.settings.separatorChar = "|";
        format.settings.outputKind = round % 4 == 1 ? kTextFile : kDelimitedFile;
        // Some large sources repeat whole lines, so that their records fill
        // output blocks before a reading block is done.
        const bool wide = size > 100'000 && round % 2 == 1;
        std::vector<Row> rows;
        for (int r = 1; r <= 1 + static_cast<int>(random() % 6) + (wide ? 4 : 0); ++r) {
            Row row{wide ? 1 : 1 + static_cast<long long>(random() % 40),
                    wide ? 0 : static_cast<long long>(random() % 12), random() % 2 == 0,
                    random() % 5 == 0 ? std::string("=") : std::string()};
            rows.push_back(row);
            format.row(r) = {"f",  row.fixed.empty() ? std::to_string(row.start) : "",
                             row.fixed.empty() ? std::to_string(row.length) : "",
                             row.fixed.empty() ? (row.numeric ? "Num" : "Char") : "",
                             row.fixed, ""};
        }
        // Ranges reach deep into the large sources, past the first split.
        const long long scale = size > 100'000 ? 2000 : 1;
        long long ex[2] = {static_cast<long long>(random() % 50) * scale, 0};
        ex[1] = ex[0] + (static_cast<long long>(random() % 30) - 5) * scale;
        long long as[2] = {static_cast<long long>(random() % 50) * scale, 0};
        as[1] = as[0] + static_cast<long long>(random() % 30) * scale;
        format.settings.excludeFrom = std::to_string(ex[0]);
        format.settings.excludeTo = std::to_string(ex[1]);
        format.settings.writeAsIsFrom = std::to_string(as[0]);
        format.settings.writeAsIsTo = std::to_string(as[1]);

        writeBytes("in.txt", source);
        ConversionResult result =
            saveData(format, "", {path("in.txt"), path("out.txt"), path("Quisk.log")});
        ASSERT_TRUE(result.ok) << "round " << round;
        EXPECT_EQ(result.recordCount, static_cast<long long>(splitLines(source).size()));
        bool delimited = format.settings.outputKind == kDelimitedFile;
        std::string got = *readWholeFile(path("out.txt"));
        std::string want = expected(source, rows, delimited, ex[0], ex[1], as[0], as[1]);
        // Report where the outputs part, not a diff of megabytes.
        auto [g, w] = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
        ASSERT_TRUE(g == got.end() && w == want.end())
            << "round " << round << ": outputs differ from byte " << (g - got.begin()) << " of "
            << got.size() << " (expected " << want.size() << ")";
    }
}

// Lines whose records cannot be built in one block are written in pieces;
// the pieces must join up to the same output, broken characters at piece
// boundaries and write-as-is lines included.
TEST_F(RandomConversion, LongLinesMatchTheRules) {
    std::mt19937 random(7);
    const char alphabet[] = {'A', ' ', '\x81', '\x8A', '\xBF', '\x9F', '\xE0', '\xB1', '\x0D'};
    auto longLine = [&](std::size_t n) {
        std::string line;
        while (line.size() < n)
            line += random() % 3 ? std::string("\x93\x8C") : std::string(1, alphabet[random() % 8]);
        return line;
    };
    const std::string source = "short\r\n" + longLine(3'000'000) + "\r\n" + longLine(2'500'000) +
                               "\r\nshort\r\n" + longLine(1'200'001);
    const std::vector<Row> rows = {{1, 0, false, ""},       {3, 1'000'001, true, ""},
                                   {2, 3, false, ""},       {0, 0, false, "="},
                                   {524'287, 3, false, ""}, {1'100'000, 0, true, ""}};
    FormatDefinition format;
    format.settings.textQuoteNum = "'";
    format.settings.separatorChar = "|";
    format.settings.writeAsIsFrom = "3";
    format.settings.writeAsIsTo = "3";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        format.row(static_cast<int>(r) + 1) = {"f",
                                               row.fixed.empty() ? std::to_string(row.start) : "",
                                               row.fixed.empty() ? std::to_string(row.length) : "",
                                               row.fixed.empty() ? (row.numeric ? "Num" : "Char")
                                                                 : "",
                                               row.fixed,
                                               ""};
    }
    writeBytes("in.txt", source);
    ConversionResult result =
        saveData(format, "", {path("in.txt"), path("out.txt"), path("Quisk.log")});
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.recordCount, 5);
    std::string got = *readWholeFile(path("out.txt"));
    std::string want = expected(source, rows, true, 0, 0, 3, 3);
    auto [g, w] = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
    ASSERT_TRUE(g == got.end() && w == want.end())
        << "outputs differ from byte " << (g - got.begin()) << " of " << got.size() << " (expected "
        << want.size() << ")";
}

} // namespace
} // namespace quisk
