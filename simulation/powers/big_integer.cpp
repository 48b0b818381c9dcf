#include "simulation/powers/big_integer.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>

BigInteger bigIntegerFrom(std::uint64_t value) {
    BigInteger a;
    a.limb[0] = static_cast<std::uint32_t>(value);
    a.limb[1] = static_cast<std::uint32_t>(value >> 32);
    return a;
}

namespace {
// The number of limbs up to the highest non-zero one.
int usedLimbs(const BigInteger& a) {
    int used = BigInteger::kLimbs;
    while (used > 0 && a.limb[used - 1] == 0) {
        --used;
    }
    return used;
}
}  // namespace

BigInteger product(const BigInteger& a, const BigInteger& b) {
    const int usedA = usedLimbs(a);
    const int usedB = usedLimbs(b);
    assert(usedA + usedB <= BigInteger::kLimbs);
    BigInteger p;
    for (int i = 0; i < usedA; ++i) {
        std::uint64_t carry = 0;
        for (int j = 0; j < usedB; ++j) {
            carry += std::uint64_t{a.limb[i]} * b.limb[j] + p.limb[i + j];
            p.limb[i + j] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (i + usedB < BigInteger::kLimbs) {
            p.limb[i + usedB] = static_cast<std::uint32_t>(carry);
        }
    }
    return p;
}

BigInteger shiftedLeft(const BigInteger& a, int bits) {
    assert(bits >= 0 && bitLength(a) + bits <= 32 * BigInteger::kLimbs);
    BigInteger s;
    for (int position = 0; position < bitLength(a); ++position) {
        if (bitAt(a, position)) {
            setBit(s, position + bits);
        }
    }
    return s;
}

int compare(const BigInteger& a, const BigInteger& b) {
    for (int i = BigInteger::kLimbs - 1; i >= 0; --i) {
        if (a.limb[i] != b.limb[i]) {
            return a.limb[i] < b.limb[i] ? -1 : 1;
        }
    }
    return 0;
}

int bitLength(const BigInteger& a) {
    const int used = usedLimbs(a);
    return used == 0 ? 0 : 32 * (used - 1) + std::bit_width(a.limb[used - 1]);
}

bool bitAt(const BigInteger& a, int position) {
    if (position < 0 || position >= 32 * BigInteger::kLimbs) {
        return false;
    }
    return (a.limb[position / 32] >> (position % 32)) & 1u;
}

void setBit(BigInteger& a, int position) {
    a.limb[position / 32] |= 1u << (position % 32);
}

bool anyBitBelow(const BigInteger& a, int position) {
    for (int i = 0; i < std::min(position, 32 * BigInteger::kLimbs); ++i) {
        if (bitAt(a, i)) {
            return true;
        }
    }
    return false;
}

std::uint64_t bitsFrom(const BigInteger& a, int position, int count) {
    std::uint64_t bits = 0;
    for (int i = count - 1; i >= 0; --i) {
        bits = bits << 1 | static_cast<std::uint64_t>(bitAt(a, position + i));
    }
    return bits;
}

double roundedToDouble(const BigInteger& a, int exponent, bool negative) {
    const int length = bitLength(a);
    double magnitude = 0.0;
    if (length > 0) {
        const int leading = length - 1 + exponent;           // exponent of the leading bit
        const int lowest = std::max(leading - 52, -1074);    // of the last bit a double keeps
        const int dropped = std::max(lowest - exponent, 0);  // bits of a below that one
        std::uint64_t kept = bitsFrom(a, dropped, std::min(length, 64));
        if (dropped > 0 && bitAt(a, dropped - 1) && (anyBitBelow(a, dropped - 1) || (kept & 1u))) {
            ++kept;  // above the midpoint, or on it with an odd last bit
        }
        // kept <= 2^53 and kept 2^(exponent + dropped) is a double or beyond the largest one:
        // ldexp scales exactly, or overflows to infinity as the rounding must.
        magnitude = std::ldexp(static_cast<double>(kept), exponent + dropped);
    }
    return negative ? -magnitude : magnitude;
}
