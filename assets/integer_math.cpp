// Short polynomials (Taylor series, which are accurate enough at these
// orders over a quarter turn and over one octave) evaluated by Horner's rule
// in 64-bit integers. Right shifts of negative values round towards minus
// infinity on every compiler C++20 allows, so the results are exact integers.
#include "integer_math.h"

namespace assets::integer {
namespace {

constexpr int kQ = 30;

// sin(pi/2 x) = x (c1 + c3 x^2 + ... + c11 x^10), coefficients in Q30.
constexpr int64_t kSineCoefficients[] = {-3864, 172272, -5026995, 85569306, -693598668, 1686629713};
// 2^f = sum of (f ln 2)^k / k!, k from 8 down to 0, in Q30.
constexpr int64_t kExp2Coefficients[] = {1419,     16377,     165394,    1431680,   10327387,
                                         59597083, 257941248, 744261118, 1073741824};

// sin(pi/2 x) for x in [0, 1] as Q30.
int64_t QuarterSine(int64_t x) {
    const int64_t square = (x * x) >> kQ;
    int64_t sum = 0;
    for (const int64_t c : kSineCoefficients) sum = c + ((sum * square) >> kQ);
    return (sum * x) >> kQ;
}

}  // namespace

int64_t Sine(uint32_t phase) {
    const int64_t within = phase & (kOne - 1);
    const uint32_t quarter = phase >> kQ;
    const int64_t rising = QuarterSine(quarter % 2 == 0 ? within : kOne - within);
    return quarter < 2 ? rising : -rising;
}

int64_t Cosine(uint32_t phase) {
    return Sine(phase + (uint32_t{1} << kQ));
}

int64_t Exp2(int64_t x) {
    const int64_t whole = x >> 24;                         // rounds down, so...
    const int64_t fraction = (x & 0xFFFFFF) << (kQ - 24);  // ...this lies in [0, 1)
    int64_t power = 0;
    for (const int64_t c : kExp2Coefficients) power = c + ((power * fraction) >> kQ);
    if (whole >= 0) return power << whole;
    return whole <= -62 ? 0 : power >> -whole;
}

int64_t Log2(uint64_t value) {
    if (value == 0) return 0;
    int top = 63;
    while ((value >> top) == 0) --top;
    int64_t log = (top - 16) * (int64_t{1} << 24);
    // The mantissa in [1, 2) as Q30; squaring it doubles its logarithm, whose
    // next bit is then whether the square reached 2.
    uint64_t mantissa = top >= kQ ? value >> (top - kQ) : value << (kQ - top);
    for (int64_t bit = int64_t{1} << 23; bit > 0; bit >>= 1) {
        mantissa = (mantissa * mantissa) >> kQ;
        if (mantissa >= (uint64_t{2} << kQ)) {
            mantissa >>= 1;
            log += bit;
        }
    }
    return log;
}

uint64_t SquareRoot(uint64_t value) {
    uint64_t root = 0;
    for (uint64_t bit = uint64_t{1} << 62; bit > 0; bit >>= 2) {
        if (value >= root + bit) {
            value -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
    }
    return root;
}

}  // namespace assets::integer
