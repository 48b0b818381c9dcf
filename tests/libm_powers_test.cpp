// The C library's powers: the batch functions equal std::pow bit for bit, over the simulation's
// ratios, near rounding midpoints and next to powers of two, where the product chain must hand
// over to pow.
#include <gtest/gtest.h>

#include "simulation/powers/powers.h"
#include "support/ratio_sweep.h"

namespace {

// The number of powers of s from the batch functions that differ from pow's (five reported).
std::uint64_t mismatches(std::span<const double> s) {
    std::vector<double> out(4 * s.size());
    const auto row = [&out, &s](std::size_t k) {
        return std::span(out).subspan(k * s.size(), s.size());
    };
    argon::powers6And12(s, row(0), row(2));  // row(p) holds s^kPowerExponents[p]
    argon::powers7And13(s, row(1), row(3));
    std::uint64_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        for (std::size_t r = 0; r < 4; ++r) {
            const int n = kPowerExponents[r];
            if (std::bit_cast<std::uint64_t>(row(r)[i]) !=
                    std::bit_cast<std::uint64_t>(std::pow(s[i], n)) &&
                ++count <= 5) {
                ADD_FAILURE() << std::hexfloat << "s = " << s[i] << ", n = " << n;
            }
        }
    }
    return count;
}

TEST(LibmPowers, EqualPowOverTheSimulationsRatiosNearMidpointsAndPowersOfTwo) {
    // sigma / r for r from 1 A to half the diagonal of the 25.1488 A cell.
    EXPECT_EQ(sweepRatios(0.156, 3.4, kFullSweep / 5, 0, kFullSweep / 5,
                          [](std::span<const double> s, std::uint64_t) { return mismatches(s); }),
              0u);
    EXPECT_EQ(mismatches(oddSignificandRatios()), 0u);
    EXPECT_EQ(mismatches(nearPowerOfTwoRatios()), 0u);
}

}  // namespace
