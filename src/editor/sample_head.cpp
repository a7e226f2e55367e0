#include "sample_head.h"

#include "common/file_io.h"

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

SampleHead readSampleHead(const std::string& path, std::size_t maxLines, std::size_t maxBytes) {
    SampleHead failed;
    failed.wholeFile = false;
    if (!isRegularFile(path)) {
        failed.error = pathExists(path) ? kNotARegularFile : ENOENT;
        return failed;
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        failed.error = errno;
        return failed;
    }
    // One byte more than is kept tells whether the file goes on.
    std::string bytes(maxBytes + 1, '\0');
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get())) {
        failed.error = EIO;
        return failed;
    }
    bytes.resize(got);
    const bool fileEnds = got <= maxBytes;
    std::string_view text(bytes);
    // After a carriage return as the last byte kept, the extra byte says
    // whether a line feed follows, so it is passed on as well.
    if (!fileEnds && (maxBytes == 0 || text[maxBytes - 1] != '\r'))
        text = text.substr(0, maxBytes);
    return splitSample(text, fileEnds, maxLines);
}

} // namespace quisk
