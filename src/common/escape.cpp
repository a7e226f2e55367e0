#include "escape.h"

namespace quisk {
namespace {

std::string replaceAll(std::string text, std::string_view from, char to) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t hit; (hit = text.find(from, pos)) != std::string::npos;
         pos = hit + from.size()) {
        out.append(text, pos, hit - pos);
        out.push_back(to);
    }
    out.append(text, pos, std::string::npos);
    return out;
}

} // namespace

std::string changeDouble(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '"')
            out += "$34$";
        else if (c == ',')
            out += "$44$";
        else
            out.push_back(c);
    }
    return out;
}

std::string restoreDouble(std::string_view text) {
    return replaceAll(replaceAll(std::string(text), "$34$", '"'), "$44$", ',');
}

} // namespace quisk
