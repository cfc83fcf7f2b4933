// The x87 unit's 80-bit extended format, as the emulator reports its
// registers, and its conversion to a 64-bit double the way the hardware's
// store to a double memory operand (FSTP m64) does it under round to nearest.
#pragma once

#include <cstdint>

namespace emu {

struct Extended80 {
    uint64_t mantissa;      // explicit integer bit at bit 63
    uint16_t sign_exponent; // sign at bit 15, biased exponent (bias 16383) below
};

// Rounds to nearest, ties to even; overflow gives infinity, tiny values
// become subnormals or zero; infinities and signed zeros are kept; a
// not-a-number keeps its sign and the top 52 bits of its payload and comes
// out quiet.
uint64_t extended_to_double_bits(Extended80 value);
double extended_to_double(Extended80 value);

}  // namespace emu
