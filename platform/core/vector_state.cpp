#include "platform/core/vector_state.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>

namespace {

bool HasAvx() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return has;
}

__attribute__((target("avx"))) void ZeroUpper() {
    _mm256_zeroupper();
}

// XGETBV with ECX = 1 reports the state components in use, where the processor has it and the
// system enabled the extended state.
bool HasInUseReport() {
    static const bool has = [] {
        unsigned a = 0, b = 0, c = 0, d = 0;
        if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_OSXSAVE))
            return false;
        if (!__get_cpuid_count(0xD, 1, &a, &b, &c, &d))
            return false;
        return (a & 4) != 0;
    }();
    return has;
}

} // namespace

namespace platform {

void ClearUpperVectorState() {
    if (HasAvx())
        ZeroUpper();
}

int UpperVectorStateInUse() {
    if (!HasAvx() || !HasInUseReport())
        return -1;
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(1));
    (void)hi;
    return (lo & 4) ? 1 : 0; // component 2: the upper halves of the 256-bit registers
}

} // namespace platform

#else

namespace platform {

void ClearUpperVectorState() {}

int UpperVectorStateInUse() {
    return -1;
}

} // namespace platform

#endif
