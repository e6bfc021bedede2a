#include "pivora/framework/rand_number.h"

#include "platform/system/random.h"

#include <ctime>

namespace {

bool g_seeded = false;

} // namespace

void set_radm_seed() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    platform::srand(unsigned(local.tm_min * 100 + local.tm_sec));
}

int get_rand_number(int a, int b) {
    if (!g_seeded) {
        g_seeded = true;
        set_radm_seed();
    }
    // The 15-bit generator keeps the quotient below one, so b itself never comes.
    return int(a + (b - a) * platform::rand() / 32768.0);
}
