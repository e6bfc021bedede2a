// The C runtime's small random generator: 15-bit results, so formulas that divide by 32768
// stay below 1. The C library's own rand() here yields 31 bits; use these instead.
#pragma once

namespace platform {

constexpr int kRandMax = 32767;

// 0 .. 32767; the sequence restarts with srand.
int rand();
// Seed 1 is the start state.
void srand(unsigned seed);

} // namespace platform
