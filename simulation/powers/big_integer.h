#pragma once

// Unsigned integers of up to 832 bits, enough for the 13th power of a 53-bit significand
// (689 bits) and for the cube of a 111-bit cube root: the exact arithmetic that decides a
// rounding when a double-double approximation cannot.

#include <array>
#include <cstdint>

struct BigInteger {
    static constexpr int kLimbs = 26;
    std::array<std::uint32_t, kLimbs> limb{};  // least significant first
};

BigInteger bigIntegerFrom(std::uint64_t value);
BigInteger product(const BigInteger& a, const BigInteger& b);
BigInteger shiftedLeft(const BigInteger& a, int bits);
int compare(const BigInteger& a, const BigInteger& b);  // -1, 0 or +1

int bitLength(const BigInteger& a);  // 0 for zero
bool bitAt(const BigInteger& a, int position);
void setBit(BigInteger& a, int position);
// Whether any bit below `position` is set.
bool anyBitBelow(const BigInteger& a, int position);
// The `count` <= 64 bits from `position` upwards, as an integer; positions outside are zeros.
std::uint64_t bitsFrom(const BigInteger& a, int position, int count);

// a * 2^exponent rounded to the nearest double, ties to even, with gradual underflow and overflow
// to infinity; negated when `negative`.
double roundedToDouble(const BigInteger& a, int exponent, bool negative);
