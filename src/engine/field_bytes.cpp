#include "field_bytes.h"

namespace quisk {

char* copyFieldPart(const char* field, std::size_t n, std::size_t from, std::size_t to, char* out) {
    for (std::size_t broken; (broken = field_lanes::nextBrokenLead(field, n, from, to)) < to;
         from = broken + 1) {
        std::memcpy(out, field + from, broken - from);
        out += broken - from;
        *out++ = '\x81'; // "・"
        *out++ = '\x45';
    }
    std::memcpy(out, field + from, to - from);
    return out + (to - from);
}

} // namespace quisk
