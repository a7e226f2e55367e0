#pragma once

#include "engine/layout_check.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quisk {

// One line of a sample, without its line end, and how it ended.
struct SampleLine {
    std::string bytes;
    LineEnd end = LineEnd::CrLf;
};

// The first lines of a source file, read to show what a layout does to them.
struct SampleHead {
    std::vector<SampleLine> lines;
    bool wholeFile = true; // no line of the file was left unread
    int error = 0;         // why the file could not be read (an errno value), or 0
};

// The most a sample holds: a source of any size opens as fast as a small one.
inline constexpr std::size_t kSampleMaxLines = 1000;
inline constexpr std::size_t kSampleMaxBytes = std::size_t{4} << 20;

// Splits the start of a file into lines as the engine's reader does: at a
// carriage return, a CR LF or the end of the file; a lone line feed stays
// inside its line. text holds the file's first bytes; fileEnds says whether
// the file ends with them. A last line cut off by the end of text is left
// out unless it is the only one, so no line looks shorter than it is.
SampleHead splitSample(std::string_view text, bool fileEnds,
                       std::size_t maxLines = kSampleMaxLines);

// Cuts the start of a file into fixed-length records as the engine's record
// reader does: every recordLength bytes whatever they are, a CR LF after each
// record skipped when the first record is followed by one. A record cut off
// by the end of text is left out unless it is the only one; the file's last
// record may be short.
SampleHead splitRecords(std::string_view text, bool fileEnds, std::size_t recordLength,
                        std::size_t maxLines = kSampleMaxLines);

// The first bytes of a file, kept so that they can be cut again when the
// format's record length changes.
struct SampleBytes {
    std::string text;     // up to one byte more than was asked for
    bool fileEnds = true; // the file has no more bytes than were asked for
    int error = 0;        // why the file could not be read (an errno value), or 0
};

// Reads at most maxBytes bytes (and one more, to tell whether the file goes
// on) from the start of the file at path. Something that is not an ordinary
// file (a FIFO) is refused without waiting on it.
SampleBytes readSampleBytes(const std::string& path, std::size_t maxBytes = kSampleMaxBytes);

// The lines of a sample, or its records when recordLength is not 0.
SampleHead cutSample(const SampleBytes& sample, std::size_t recordLength,
                     std::size_t maxLines = kSampleMaxLines,
                     std::size_t maxBytes = kSampleMaxBytes);

// Reads at most maxBytes bytes and maxLines lines from the start of the file
// at path.
SampleHead readSampleHead(const std::string& path, std::size_t maxLines = kSampleMaxLines,
                          std::size_t maxBytes = kSampleMaxBytes);

} // namespace quisk
