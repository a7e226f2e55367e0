#pragma once

#include <string>

// The quote and separator settings are shown in the editor in a display form
// (half-width names such as "ｶﾝﾏ", or the quote character) and stored in the
// format file in a stored form (full-width names, or a name for the quote).
namespace quisk {

std::string quoteToStored(const std::string& display);
std::string quoteToDisplay(const std::string& stored);
std::string separatorToStored(const std::string& display);
std::string separatorToDisplay(const std::string& stored);

} // namespace quisk
