#include "eps_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace eps {

namespace {

constexpr int kDecimals = 4;
constexpr double kScale = 10000.0;
constexpr uint64_t kScaleInt = 10000;
// Below this (2^40) the scaled product is off its exact value by far less than kTieMargin.
constexpr double kFastLimit = 1099511627776.0;
// A product this close to a half could round either way: left to the reference.
constexpr double kTieMargin = 1e-3;
// Adding and taking away 1.5 * 2^52 rounds a smaller double to a whole number.
constexpr double kRoundingShift = 6755399441055744.0;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the `count` lowest decimal digits of `n` ending at `end`.
void WriteDigits(char* end, uint64_t n, int count) {
    while (count >= 2) {
        end -= 2;
        std::memcpy(end, kDigitPairs + 2 * (n % 100), 2);
        n /= 100;
        count -= 2;
    }
    if (count)
        *--end = char('0' + n % 10);
}

int DigitCount(uint64_t n) {
    int count = 1;
    for (uint64_t limit = 10; n >= limit && count < 19; limit *= 10)
        ++count;
    return count;
}

} // namespace

char* WriteNumberReference(char* out, double v) {
    if (!std::isfinite(v))
        v = 0;
    char* const begin = out;
    auto [end, ec] =
        std::to_chars(out, out + kMaxNumberChars, v, std::chars_format::fixed, kDecimals);
    if (ec != std::errc()) {
        *begin = '0';
        return begin + 1;
    }
    if (std::find(begin, end, '.') != end) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.')
            --end;
    }
    if (end - begin == 2 && begin[0] == '-' && begin[1] == '0') {
        begin[0] = '0';
        end = begin + 1;
    }
    return end;
}

// Page coordinates are short: their product by 10^4, rounded to a whole number, is the exact
// decimal rounding unless it lies near a half; those few, and huge values, take the general road.
char* WriteNumber(char* out, double v) {
    const double scaled = v * kScale;
    if (!(std::fabs(scaled) < kFastLimit)) // also NaN and infinities
        return WriteNumberReference(out, v);
    const double rounded = (scaled + kRoundingShift) - kRoundingShift;
    if (std::fabs(scaled - rounded) > 0.5 - kTieMargin)
        return WriteNumberReference(out, v);
    int64_t n = int64_t(rounded);
    if (n == 0) {
        *out = '0';
        return out + 1;
    }
    if (n < 0) {
        *out++ = '-';
        n = -n;
    }
    const uint64_t whole = uint64_t(n) / kScaleInt;
    unsigned fraction = unsigned(uint64_t(n) % kScaleInt);
    const int wholeDigits = DigitCount(whole);
    out += wholeDigits;
    WriteDigits(out, whole, wholeDigits);
    if (!fraction)
        return out;
    int decimals = kDecimals;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --decimals;
    }
    *out++ = '.';
    out += decimals;
    WriteDigits(out, fraction, decimals);
    return out;
}

void AppendNumber(std::string& out, double v) {
    char buf[kMaxNumberChars];
    out.append(buf, WriteNumber(buf, v));
}

} // namespace eps
