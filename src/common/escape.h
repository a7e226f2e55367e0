#pragma once

#include <string>
#include <string_view>

// Format and job files enclose every value in double quotes without any
// escaping of their own, so a double quote and a comma inside a value are
// stored as the stand-ins "$34$" and "$44$".
namespace quisk {

// Replaces each double quote by "$34$" and each comma by "$44$".
std::string changeDouble(std::string_view text);

// Puts back the double quotes first, then the commas. A value that held the
// literal text "$34$" or "$44$" cannot be told apart and comes back changed.
std::string restoreDouble(std::string_view text);

} // namespace quisk
