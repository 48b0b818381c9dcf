#include "analysis/known_fluid/johnson_zollweg_gubbins.h"

#include <array>

// The 32 parameters x_1..x_32 as the shared reference table gives them (../shared/physics/
// lennard-jones-fluid.md), from Johnson, Zollweg and Gubbins, Mol. Phys. 78 (1993) 591-618.
namespace {

constexpr std::array<double, 33> kX = {0.0,  // x_0 is not used: the parameters are numbered from 1
                                       0.8623085097507421,
                                       2.976218765822098,
                                       -8.402230115796039,
                                       0.1054136629203555,
                                       -0.8564583828174598,
                                       1.582759470107601,
                                       0.7639421948305453,
                                       1.753173414312048,
                                       2798.291772190376,
                                       -0.04839422026085766,
                                       0.9963265197721936,
                                       -36.98000291272493,
                                       20.84012299434647,
                                       83.05402124717286,
                                       -957.4799715203068,
                                       -147.7746229234994,
                                       63.98607852471505,
                                       16.03993673294834,
                                       68.05916615864378,
                                       -2791.293578795945,
                                       -6.245128304568454,
                                       -8116.83610495841,
                                       14.88735559561229,
                                       -10593.46754655084,
                                       -113.1607632802822,
                                       -8867.771540418822,
                                       -39.86982844450543,
                                       -4689.270299917261,
                                       259.3535277438717,
                                       -2694.523589434903,
                                       -721.8487631550215,
                                       172.1802063863269};
constexpr double kGamma = 3.0;

// a_1..a_8 of the density series, index 0 unused.
std::array<Dual, 9> densityCoefficients(Dual t) {
    const Dual t2 = t * t;
    std::array<Dual, 9> a{};
    a[1] = kX[1] * t + kX[2] * sqrt(t) + kX[3] + kX[4] / t + kX[5] / t2;
    a[2] = kX[6] * t + kX[7] + kX[8] / t + kX[9] / t2;
    a[3] = kX[10] * t + kX[11] + kX[12] / t;
    a[4] = constant(kX[13]);
    a[5] = kX[14] / t + kX[15] / t2;
    a[6] = kX[16] / t;
    a[7] = kX[17] / t + kX[18] / t2;
    a[8] = kX[19] / t2;
    return a;
}

// b_1..b_6 of the exponential series, index 0 unused.
std::array<Dual, 7> exponentialCoefficients(Dual t) {
    const Dual t2 = t * t;
    const Dual t3 = t2 * t;
    const Dual t4 = t2 * t2;
    std::array<Dual, 7> b{};
    b[1] = kX[20] / t2 + kX[21] / t3;
    b[2] = kX[22] / t2 + kX[23] / t4;
    b[3] = kX[24] / t2 + kX[25] / t3;
    b[4] = kX[26] / t2 + kX[27] / t4;
    b[5] = kX[28] / t2 + kX[29] / t3;
    b[6] = kX[30] / t2 + kX[31] / t3 + kX[32] / t4;
    return b;
}

}  // namespace

// A_res/(N ε) = Σ_{i=1..8} a_i ρ^i / i + Σ_{i=1..6} b_i G_i, with F = exp(-γ ρ²),
// G_1 = (1 - F) / (2γ) and G_i = -(F ρ^(2(i-1)) - 2 (i-1) G_(i-1)) / (2γ).
Dual johnsonZollwegGubbinsHelmholtz(Dual temperature, Dual density) {
    const std::array<Dual, 9> a = densityCoefficients(temperature);
    const std::array<Dual, 7> b = exponentialCoefficients(temperature);
    Dual sum = constant(0.0);
    Dual densityPower = constant(1.0);  // ρ^i
    for (int i = 1; i <= 8; ++i) {
        densityPower = densityPower * density;
        sum = sum + a[i] * densityPower / static_cast<double>(i);
    }
    const Dual f = exp(-kGamma * density * density);
    const Dual squared = density * density;
    Dual g = (1.0 - f) / (2.0 * kGamma);  // G_1
    Dual squaredPower = constant(1.0);    // ρ^(2(i-1))
    sum = sum + b[1] * g;
    for (int i = 2; i <= 6; ++i) {
        squaredPower = squaredPower * squared;
        g = -(f * squaredPower - 2.0 * (i - 1) * g) / (2.0 * kGamma);
        sum = sum + b[i] * g;
    }
    return sum;
}
