#include "platform/system/random.h"

#include <cstdint>

namespace platform {
namespace {

// The linear congruential generator of the C standard's sample code.
uint32_t g_next = 1;

} // namespace

int rand() {
    g_next = g_next * 1103515245u + 12345u;
    return int((g_next / 65536u) % 32768u);
}

void srand(unsigned seed) {
    g_next = seed;
}

} // namespace platform
