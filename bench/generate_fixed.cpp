// Writes a large Shift-JIS fixed-width file for the conversion benchmark:
// lines of 120 bytes in ten fields, double-byte names included, CR LF ends.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Shift-JIS bytes of a few names and places, padded to their field widths.
const char* const kNames[] = {"\x8E\x52\x93\x63\x91\xBE\x98\x59",  // 山田太郎
                              "\x97\xE9\x96\xD8\x89\xD4\x8E\x71",  // 鈴木花子
                              "\xB6\xC0\xB6\xC5 \xC3\xBD\xC4"};    // ｶﾀｶﾅ ﾃｽﾄ
const char* const kPlaces[] = {"\x93\x8C\x8B\x9E\x93\x73", "\x91\xE5\x8D\xE3\x95\x7B",
                               "\x96\x6B\x8A\x43\x93\xB9"}; // 東京都 大阪府 北海道

void pad(std::string& line, const std::string& value, std::size_t width) {
    line += value.substr(0, width);
    line.append(width - std::min(width, value.size()), ' ');
}

std::string makeLine(unsigned long n) {
    std::string line;
    char number[32];
    std::snprintf(number, sizeof number, "%010lu", n);
    pad(line, number, 10);                          // 1  code           1-10
    pad(line, kNames[n % 3], 20);                   // 2  name          11-30
    pad(line, kPlaces[n % 3], 10);                  // 3  place         31-40
    std::snprintf(number, sizeof number, "%012lu", n * 37 % 1000000007);
    pad(line, number, 12);                          // 4  amount        41-52
    pad(line, "20261207", 8);                       // 5  date          53-60
    pad(line, n % 2 ? "A" : "B", 2);                // 6  kind          61-62
    std::snprintf(number, sizeof number, "%06lu", n % 999999);
    pad(line, number, 6);                           // 7  branch        63-68
    pad(line, "\x94\xF5\x8D\x6C remarks", 30);      // 8  remarks       69-98
    pad(line, "X", 10);                             // 9  flag          99-108
    std::snprintf(number, sizeof number, "%012lu", n);
    pad(line, number, 12);                          // 10 check        109-120
    return line + "\r\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MEGABYTES OUTPUT\n", argv[0]);
        return 2;
    }
    const unsigned long long target = std::strtoull(argv[1], nullptr, 10) * 1000 * 1000;
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out)
        return 1;
    unsigned long long written = 0;
    for (unsigned long n = 0; written < target; ++n) {
        std::string line = makeLine(n);
        std::fwrite(line.data(), 1, line.size(), out);
        written += line.size();
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
