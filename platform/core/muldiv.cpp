#include "platform/core/types.h"

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    int64_t product = int64_t(number) * numerator;
    int64_t divisor = denominator < 0 ? -int64_t(denominator) : int64_t(denominator);
    bool negative = (product < 0) != (denominator < 0);
    // Round half away from zero on the magnitudes, then give the result its sign.
    int64_t q = ((product < 0 ? -product : product) + divisor / 2) / divisor;
    q = negative ? -q : q;
    if (q > INT32_MAX || q < INT32_MIN)
        return -1;
    return int(q);
}
