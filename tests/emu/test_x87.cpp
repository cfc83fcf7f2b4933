// The 80-bit to 64-bit conversion of x87 results, against this machine's own
// x87 store (long double on x86-64 Linux is the 80-bit format).
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstring>
#include <random>

#include "host/emu/x87.h"

namespace {

using emu::Extended80;
using emu::extended_to_double_bits;

static_assert(LDBL_MANT_DIG == 64, "the reference needs the x87 extended long double");

uint64_t hardware(Extended80 v) {
    long double x = 0;
    std::memcpy(&x, &v.mantissa, 8);
    std::memcpy(reinterpret_cast<char*>(&x) + 8, &v.sign_exponent, 2);
    volatile long double in = x;
    volatile double out = static_cast<double>(in);  // FSTP m64
    return std::bit_cast<uint64_t>(static_cast<double>(out));
}

constexpr uint64_t INT_BIT = uint64_t{1} << 63;

TEST(X87ToDouble, EdgeCasesMatchTheHardwareStore) {
    const Extended80 cases[] = {
        {0, 0},                                        // +0
        {0, 0x8000},                                   // -0
        {INT_BIT, 0x7FFF},                             // +inf
        {INT_BIT, 0xFFFF},                             // -inf
        {INT_BIT | (uint64_t{1} << 62), 0x7FFF},       // default quiet NaN
        {INT_BIT | (uint64_t{1} << 62) | 0x123456789ABull << 11, 0xFFFF},  // quiet NaN with payload, negative
        {INT_BIT | 0x0000DEADBEEF0000ull, 0x7FFF},     // signalling NaN: comes out quiet, payload kept
        {INT_BIT | 0x7FFull, 0x7FFF},                  // payload only in the bits a double drops
        {INT_BIT, 16383},                              // 1.0
        {INT_BIT | 0x400, 16383},                      // exactly half an ulp above 1: ties to even (down)
        {INT_BIT | 0xC00, 16383},                      // 1.5 ulp: ties to even (up)
        {~uint64_t{0}, 16383 + 1023},                  // rounds up past DBL_MAX to infinity
        {~uint64_t{0} << 11, 16383 + 1023},            // DBL_MAX exactly
        {INT_BIT, 16383 + 1024},                       // 2^1024: overflow
        {INT_BIT, 16383 - 1022},                       // smallest normal double
        {INT_BIT, 16383 - 1023},                       // largest power-of-two subnormal
        {INT_BIT, 16383 - 1074},                       // smallest subnormal
        {INT_BIT, 16383 - 1075},                       // half the smallest subnormal: ties to zero
        {INT_BIT | 1, 16383 - 1075},                   // just above half: smallest subnormal
        {~uint64_t{0}, 16383 - 1023},                  // subnormal that rounds up to the smallest normal
        {INT_BIT, 16383 - 1100},                       // far below: zero
        {INT_BIT | 0x5555, 0x8000 | (16383 - 1080)},   // negative tiny
        {0x0000000000000001ull, 0},                    // extended denormal: zero
        {0x0000000000000001ull, 0x8000},               // negative extended denormal: -0
    };
    for (const Extended80& c : cases)
        EXPECT_EQ(extended_to_double_bits(c), hardware(c)) << std::hex << c.sign_exponent << " " << c.mantissa;
}

TEST(X87ToDouble, RandomEncodingsMatchTheHardwareStore) {
    std::mt19937_64 rng(0x87);
    for (int i = 0; i < 200000; ++i) {
        Extended80 v{rng(), static_cast<uint16_t>(rng())};
        // Only encodings the x87 unit produces: the integer bit is set
        // exactly when the exponent is not zero. Bias exponents towards the
        // double range half the time.
        if (i % 2) v.sign_exponent = static_cast<uint16_t>((v.sign_exponent & 0x8000) | (16383 - 1100 + rng() % 2200));
        const int exponent = v.sign_exponent & 0x7FFF;
        v.mantissa = exponent ? (v.mantissa | INT_BIT) : (v.mantissa & ~INT_BIT);
        ASSERT_EQ(extended_to_double_bits(v), hardware(v)) << std::hex << v.sign_exponent << " " << v.mantissa;
    }
}

}  // namespace
