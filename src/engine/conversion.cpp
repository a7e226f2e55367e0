#include "conversion.h"

#include "common/file_io.h"
#include "common/sjis.h"
#include "engine/engine_texts.h"
#include "engine/line_reader.h"
#include "engine/pending_output.h"
#include "engine/record_formatter.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace quisk {
namespace {

namespace t = engine_texts;
static_assert(LineReader::kSlack >= RecordFormatter::kSlack,
              "records read past a line by the formatter's slack");
constexpr std::string_view kLineEnd = "\r\n";
constexpr long long kLinesPerClockCheck = 1024;
constexpr auto kYieldInterval = std::chrono::milliseconds(50);

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The log is rewritten in place: it only ever describes the last run.
class LogFile {
public:
    explicit LogFile(const std::string& path)
        : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)) {}
    ~LogFile() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    bool writeLine(const std::string& utf8) {
        auto bytes = sjis::encode(utf8 + "\r\n");
        return fd_ >= 0 && bytes && writeAll(fd_, *bytes);
    }

private:
    int fd_;
};

// Calls the caller's yield when enough time has passed; looks at the clock
// only every so many lines so the check costs nothing measurable.
class Yielder {
public:
    explicit Yielder(const std::function<void()>& yield) : yield_(yield) {}
    void now() {
        if (yield_)
            yield_();
        last_ = std::chrono::steady_clock::now();
    }
    void afterLine(long long count) {
        if (!yield_ || count % kLinesPerClockCheck != 0)
            return;
        if (std::chrono::steady_clock::now() - last_ >= kYieldInterval)
            now();
    }

private:
    const std::function<void()>& yield_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// Encodes lines of text, each followed by CR LF.
std::optional<std::string> encodeLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += kLineEnd;
    }
    return sjis::encode(text);
}

struct RunTexts {
    std::string header;
    std::string fieldNames;
    std::string footer;
};

std::optional<RunTexts> encodeRunTexts(const FormatSettings& s, const std::string& fieldNameRow) {
    std::vector<std::string> none;
    auto header = encodeLines(s.headerText.empty() ? none : textToLines(s.headerText));
    auto footer = encodeLines(s.footerText.empty() ? none : textToLines(s.footerText));
    bool namesWanted = s.fieldNamesOnTop && !fieldNameRow.empty();
    auto names = encodeLines(namesWanted ? std::vector{fieldNameRow} : none);
    if (!header || !footer || !names)
        return std::nullopt;
    return RunTexts{*header, *names, *footer};
}

struct Range {
    long long from;
    long long to;
    bool contains(long long n) const { return from <= n && n <= to; }
};

char* appendLineEnd(char* at) {
    *at++ = '\r';
    *at++ = '\n';
    return at;
}

// The record loop: reads every source line and writes what it stands for.
// Returns false at the first read, format or write failure.
bool convertLines(LineReader& source, PendingOutput& out, const RecordFormatter& formatter,
                  const FormatSettings& s, long long& recordCount, Yielder& yielder) {
    const Range exclude{decimalValue(s.excludeFrom), decimalValue(s.excludeTo)};
    const Range writeAsIs{decimalValue(s.writeAsIsFrom), decimalValue(s.writeAsIsTo)};
    std::string_view line;
    while (source.next(line)) {
        ++recordCount;
        if (exclude.contains(recordCount)) {
            // nothing is written for an excluded line
        } else if (writeAsIs.contains(recordCount)) {
            char* at = out.room(line.size() + 2);
            std::memcpy(at, line.data(), line.size());
            out.wrote(appendLineEnd(at + line.size()));
        } else {
            if (!formatter.canFormat())
                return false;
            char* at = out.room(formatter.maxRecordBytes(line.size()) + 2);
            out.wrote(appendLineEnd(formatter.write(line, at)));
        }
        if (!out.flushIfFull())
            return false;
        yielder.afterLine(recordCount);
    }
    return !source.failed();
}

} // namespace

std::vector<std::string> textToLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r')
            lines.emplace_back();
        else if (c != '\n')
            lines.back() += c;
    }
    return lines;
}

ConversionResult saveData(const FormatDefinition& format, const std::string& fieldNameRow,
                          const ConversionPaths& paths, const std::function<void()>& yield) {
    Yielder yielder(yield);
    yielder.now();

    LineReader source;
    OutputFile destination;
    bool opened = source.open(paths.source);
    opened = destination.open(paths.destination) && opened;
    LogFile log(paths.logFile);
    bool ok = log.writeLine(paths.source + t::kLogRead + paths.destination + t::kLogWritten);

    ConversionResult result;
    const FormatSettings& s = format.settings;
    auto formatter = RecordFormatter::build(format);
    auto texts = encodeRunTexts(s, fieldNameRow);
    PendingOutput out(destination);
    ok = ok && opened && formatter && texts;
    if (ok) {
        out.append(texts->header);
        out.append(texts->fieldNames);
        ok = convertLines(source, out, *formatter, s, result.recordCount, yielder);
        out.append(texts->footer);
        ok = out.finish() && ok;
    }
    source.close();
    ok = ok && destination.commit();
    if (!ok)
        destination.discard();

    // The destination is complete at this point; a log that cannot take its
    // last line does not undo that.
    result.ok = ok;
    log.writeLine(ok ? t::completedText(result.recordCount) : t::failedText(result.recordCount));
    return result;
}

} // namespace quisk
