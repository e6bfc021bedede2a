// The EPS numbers of the helper: its quick road must write exactly what the standard library's
// fixed formatting writes, for every value.
#include "../helper/eps_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

std::string Fast(double v) {
    std::string s;
    eps::AppendNumber(s, v);
    return s;
}

std::string Reference(double v) {
    char buf[eps::kMaxNumberChars];
    return std::string(buf, eps::WriteNumberReference(buf, v));
}

} // namespace

TEST(EpsNumber, WrittenShortAndExact) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-1, "-1"},
        {123.45, "123.45"},
        {-0.5, "-0.5"},
        {0.00004, "0"},
        {-0.00004, "0"},
        {0.00006, "0.0001"},
        {-0.00006, "-0.0001"},
        {0.03125, "0.0312"}, // an exact tie, to even
        {0.03135, "0.0314"}, // just above its tie in binary
        {0.09375, "0.0938"}, // an exact tie, to even
        {-0.09375, "-0.0938"},
        {9.99995, "10"},  // above the tie in binary, into the whole number
        {0.30005, "0.3"}, // below the tie in binary
        {1e12, "1000000000000"},
        {-1.5e300, nullptr},
        {std::nan(""), "0"},
        {inf, "0"},
        {-inf, "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Fast(c.value), Reference(c.value)) << c.value;
        if (c.text) {
            EXPECT_EQ(Fast(c.value), c.text) << c.value;
        }
    }
}

// Values of every kind a page gives: short decimals through a transformation, halves and
// near-halves of the last digit, binary fractions, and any bit pattern at all.
TEST(EpsNumber, QuickRoadMatchesTheReferenceOnRandomValues) {
    std::mt19937_64 rng(20261210);
    std::uniform_real_distribution<double> page(-5000, 5000), unit(0, 1);
    std::uniform_int_distribution<int> exponent(-30, 45);
    auto check = [](double v) { ASSERT_EQ(Fast(v), Reference(v)) << std::hexfloat << v; };
    for (int i = 0; i < 200000; ++i) {
        const double a = page(rng);
        check(a);
        check(std::round(a * 100) / 100 * 0.75 + 12.5); // a scaled two-decimal value
        check((std::floor(a * 10000) + 0.5) / 10000);   // near a tie
        check(std::ldexp(std::floor(a * 64), -6));      // binary fractions
        check(std::nextafter((std::floor(a * 10000) + 0.5) / 10000, 0)); // just beside a tie
        check(unit(rng) * std::pow(10.0, exponent(rng)) * (i % 2 ? 1 : -1));
        uint64_t bits = rng();
        double any;
        std::memcpy(&any, &bits, sizeof any);
        check(any);
    }
}
