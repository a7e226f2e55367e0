#include "sample_head.h"

#include "common/file_io.h"
#include "engine/fixed_record_reader.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace quisk {

SampleHead splitSample(std::string_view text, bool fileEnds, std::size_t maxLines) {
    SampleHead head;
    std::size_t at = 0;
    while (at < text.size() && head.lines.size() < maxLines) {
        const std::size_t cr = text.find('\r', at);
        if (cr == std::string_view::npos) {
            // The rest has no line end: the file's last line, or a line that
            // runs on past what was read.
            if (fileEnds || head.lines.empty())
                head.lines.push_back({std::string(text.substr(at)), LineEnd::None});
            head.wholeFile = fileEnds;
            return head;
        }
        const bool crLf = cr + 1 < text.size() && text[cr + 1] == '\n';
        if (cr + 1 == text.size() && !fileEnds) {
            // Whether a line feed follows is not known: leave the line out.
            if (head.lines.empty())
                head.lines.push_back({std::string(text.substr(at, cr - at)), LineEnd::Cr});
            head.wholeFile = false;
            return head;
        }
        head.lines.push_back(
            {std::string(text.substr(at, cr - at)), crLf ? LineEnd::CrLf : LineEnd::Cr});
        at = cr + (crLf ? 2 : 1);
    }
    head.wholeFile = fileEnds && at >= text.size();
    return head;
}

SampleHead splitRecords(std::string_view text, bool fileEnds, std::size_t recordLength,
                        std::size_t maxLines) {
    SampleHead head;
    const std::size_t stride = fixedRecordStride(text, recordLength);
    // Without the file's end in sight only whole records are cut, each with
    // its CR LF, so that none looks shorter than it is.
    std::string_view records = text;
    if (!fileEnds && text.size() >= stride)
        records = text.substr(0, text.size() / stride * stride);
    FixedRecordCursor cursor(records, recordLength, stride);
    std::string_view record;
    std::size_t used = 0;
    while (head.lines.size() < maxLines && cursor.next(record)) {
        head.lines.push_back({std::string(record), LineEnd::CrLf});
        used += stride;
    }
    head.wholeFile = fileEnds && used >= text.size();
    return head;
}

SampleBytes readSampleBytes(const std::string& path, std::size_t maxBytes) {
    SampleBytes sample;
    sample.fileEnds = false;
    if (!isRegularFile(path)) {
        sample.error = pathExists(path) ? kNotARegularFile : ENOENT;
        return sample;
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        sample.error = errno;
        return sample;
    }
    // One byte more than is kept tells whether the file goes on.
    sample.text.resize(maxBytes + 1);
    const std::size_t got = std::fread(sample.text.data(), 1, sample.text.size(), file.get());
    if (std::ferror(file.get())) {
        sample.text.clear();
        sample.error = EIO;
        return sample;
    }
    sample.text.resize(got);
    sample.fileEnds = got <= maxBytes;
    return sample;
}

SampleHead cutSample(const SampleBytes& sample, std::size_t recordLength, std::size_t maxLines,
                     std::size_t maxBytes) {
    if (sample.error != 0) {
        SampleHead failed;
        failed.wholeFile = false;
        failed.error = sample.error;
        return failed;
    }
    std::string_view text(sample.text);
    if (recordLength != 0)
        return splitRecords(text.substr(0, sample.fileEnds ? text.size() : maxBytes),
                            sample.fileEnds, recordLength, maxLines);
    // After a carriage return as the last byte kept, the extra byte says
    // whether a line feed follows, so it is passed on as well.
    if (!sample.fileEnds && (maxBytes == 0 || text[maxBytes - 1] != '\r'))
        text = text.substr(0, maxBytes);
    return splitSample(text, sample.fileEnds, maxLines);
}

SampleHead readSampleHead(const std::string& path, std::size_t maxLines, std::size_t maxBytes) {
    return cutSample(readSampleBytes(path, maxBytes), 0, maxLines, maxBytes);
}

} // namespace quisk
