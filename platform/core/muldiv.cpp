#include "platform/core/types.h"

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    int64_t product = int64_t(number) * numerator;
    // Round half away from zero: add half the divisor's magnitude in the direction of the result.
    int64_t half = (denominator < 0 ? -int64_t(denominator) : int64_t(denominator)) / 2;
    bool negative = (product < 0) != (denominator < 0);
    int64_t divisor = denominator < 0 ? -int64_t(denominator) : int64_t(denominator);
    int64_t q = ((product < 0 ? -product : product) + half) / divisor;
    q = negative ? -q : q;
    if (q > INT32_MAX || q < INT32_MIN)
        return -1;
    return int(q);
}
