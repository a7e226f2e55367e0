#pragma once

#include "engine/output_encoding.h"
#include "format/format_definition.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

// Pieces every conversion loop uses: the fixed lines written around the
// records, and the pacing of the window's yield.
namespace quisk {

// Calls the caller's yield when enough time has passed since the last one.
class Yielder {
public:
    static constexpr auto kInterval = std::chrono::milliseconds(50);

    explicit Yielder(const std::function<void()>& yield) : yield_(yield) {}
    void now() {
        if (yield_)
            yield_();
        last_ = std::chrono::steady_clock::now();
    }
    void ifDue() {
        if (yield_ && std::chrono::steady_clock::now() - last_ >= kInterval)
            now();
    }

private:
    const std::function<void()>& yield_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// The header lines, the field-name line and the footer lines of a run, each
// line followed by CR LF.
struct RunTexts {
    std::string header;
    std::string fieldNames;
    std::string footer;
};

// The fixed lines in Shift-JIS; empty when one has no Shift-JIS form.
std::optional<RunTexts> encodeRunTexts(const FormatSettings& s, const std::string& fieldNameRow);

// The fixed lines in the output encoding, the byte order mark (if any) first.
RunTexts inOutputForm(const RunTexts& texts, const OutputEncoder& encoder);

} // namespace quisk
