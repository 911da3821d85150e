// Sine, powers of two, logarithms and square roots in integers alone, for the
// sounds and the intro movie. Each platform's libm rounds sin, exp and pow its
// own way, and a float's arithmetic can be fused or widened by the compiler;
// the installation must be the same bytes on every build, so what makes it
// never touches floating point.
#pragma once

#include <cstdint>

namespace assets::integer {

// 1.0 in the Q30 fixed point these functions answer in.
constexpr int64_t kOne = int64_t{1} << 30;

// sin and cos of an angle in turns, the whole range of uint32_t being one
// turn, so that a phase wraps by itself; Q30, within 2^-23 of the true value.
int64_t Sine(uint32_t phase);
int64_t Cosine(uint32_t phase);

// 2 to the power x, x in Q24 and below 32; Q30, within 2^-22 of it (relative)
// and one unit of Q30.
int64_t Exp2(int64_t x);

// log2 of a positive value in Q16, as Q24; 0 for 0.
int64_t Log2(uint64_t value);

// The largest r with r * r <= value.
uint64_t SquareRoot(uint64_t value);

}  // namespace assets::integer
