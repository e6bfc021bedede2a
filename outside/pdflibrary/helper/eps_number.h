// Numbers in the EPS the helper writes: fixed with four decimals, trailing zeros and a lone
// point dropped, "-0" written as "0", anything not finite as "0".
#pragma once

#include <cstddef>
#include <string>

namespace eps {

// Room that WriteNumber may need (a double written in full).
constexpr size_t kMaxNumberChars = 400;

// Writes `v` in the form above at `out`, which has kMaxNumberChars of room, rounded from its
// exact binary value (ties to even); returns the end of what it wrote.
char* WriteNumber(char* out, double v);
// The same, appended to a string.
void AppendNumber(std::string& out, double v);

// The same, by the standard library's fixed formatting alone: the reference for the above.
char* WriteNumberReference(char* out, double v);

} // namespace eps
