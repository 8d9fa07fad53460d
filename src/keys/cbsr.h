// Text helpers shared by every reader of tab-separated lines and by every
// place that shows protocol bytes.
#pragma once

#include <cstdint>
#include <string>

namespace kx90::cbsr {

// Returns the first tab-separated field, trimmed of surrounding white space,
// and leaves the rest (untrimmed) in s. Without a tab the whole of s comes
// back untouched and s becomes empty.
std::string splittab(std::string& s);

// Returns the text before the first blank and leaves the text after it in s.
// Without a blank the result is empty and s is unchanged.
std::string splitspace(std::string& s);

// Two upper-case hexadecimal digits.
std::string byte2hex(uint8_t b);

}  // namespace kx90::cbsr
