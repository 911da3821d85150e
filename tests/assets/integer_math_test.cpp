// The integer functions the sounds and the intro are computed with, held to
// libm's within the accuracy they promise, across their whole range: a wrong
// coefficient or a slipped shift shows far beyond it.
#include "assets/integer_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace assets::integer;

TEST(IntegerMath, FollowLibmWithinTheirPromise) {
    const double one = static_cast<double>(kOne), turn = 4294967296.0;
    for (uint64_t phase = 0; phase < (uint64_t{1} << 32); phase += 7919 * 1237) {
        const double angle = 2 * M_PI * static_cast<double>(phase) / turn;
        const auto at = static_cast<uint32_t>(phase);
        EXPECT_NEAR(static_cast<double>(Sine(at)) / one, std::sin(angle), 0x1p-23) << phase;
        EXPECT_NEAR(static_cast<double>(Cosine(at)) / one, std::cos(angle), 0x1p-23) << phase;
    }
    for (int64_t x = -20 << 24; x < int64_t{12} << 24; x += 999983) {
        const double want = std::exp2(static_cast<double>(x) / 0x1p24);
        EXPECT_NEAR(static_cast<double>(Exp2(x)) / one, want, want * 0x1p-22 + 0x1p-30) << x;
    }
    for (uint64_t value = 1; value < (uint64_t{1} << 40); value = value * 3 + 1) {
        const double want = std::log2(static_cast<double>(value) / 0x1p16);
        EXPECT_NEAR(static_cast<double>(Log2(value)) / 0x1p24, want, 0x1p-20) << value;
        const uint64_t root = SquareRoot(value);
        EXPECT_TRUE(root * root <= value && (root + 1) * (root + 1) > value) << value;
    }
}

}  // namespace
