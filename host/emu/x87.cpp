#include "host/emu/x87.h"

#include <bit>

namespace emu {

uint64_t extended_to_double_bits(Extended80 value) {
    const uint64_t sign = uint64_t{value.sign_exponent >> 15} << 63;
    const int exponent = value.sign_exponent & 0x7FFF;
    uint64_t mantissa = value.mantissa;
    constexpr uint64_t FRACTION = (uint64_t{1} << 52) - 1;
    constexpr uint64_t EXP_ALL = uint64_t{0x7FF} << 52;

    if (exponent == 0x7FFF) {
        if ((mantissa << 1) == 0) return sign | EXP_ALL;               // infinity
        return sign | EXP_ALL | (uint64_t{1} << 51) | ((mantissa >> 11) & FRACTION);  // quiet NaN
    }
    if (mantissa == 0) return sign;  // signed zero (also the pseudo-denormal zero)

    // value = mantissa * 2^(e - 63); normalise so that bit 63 is set.
    int e = (exponent == 0 ? 1 : exponent) - 16383;
    const int shift = std::countl_zero(mantissa);
    mantissa <<= shift;
    e -= shift;

    int biased = e + 1023;
    if (biased >= 2047) return sign | EXP_ALL;
    // Bits of the mantissa that drop: 11 for a normal result, more below.
    const int drop = biased >= 1 ? 11 : 11 + (1 - biased);
    if (drop > 64) return sign;  // below half the smallest subnormal
    const unsigned __int128 wide = static_cast<unsigned __int128>(mantissa);
    uint64_t kept = static_cast<uint64_t>(wide >> drop);
    const unsigned __int128 rest = wide & ((static_cast<unsigned __int128>(1) << drop) - 1);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (drop - 1);
    if (rest > half || (rest == half && (kept & 1))) ++kept;

    if (biased >= 1) {
        if (kept >> 53) {  // rounding carried into a new bit
            kept >>= 1;
            if (++biased >= 2047) return sign | EXP_ALL;
        }
        return sign | (uint64_t(biased) << 52) | (kept & FRACTION);
    }
    // Subnormal; a carry into bit 52 lands exactly on the smallest normal.
    return sign | kept;
}

double extended_to_double(Extended80 value) { return std::bit_cast<double>(extended_to_double_bits(value)); }

}  // namespace emu
