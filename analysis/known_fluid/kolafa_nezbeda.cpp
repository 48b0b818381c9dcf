#include "analysis/known_fluid/kolafa_nezbeda.h"

#include <numbers>

// The coefficients as the shared reference table gives them (../shared/physics/
// lennard-jones-fluid.md), from Kolafa and Nezbeda, Fluid Phase Equilibria 100 (1994) 1-34.
namespace {

// A term c T*^(i/2).
struct HalfPowerTerm {
    int i;
    double c;
};

// A term C_ij T*^(i/2) ρ*^j.
struct DensityTerm {
    int i;
    int j;
    double c;
};

// d(T*) = c_ln ln T* + Σ_i c_i T*^(i/2).
constexpr double kDiameterLog = -0.063920968;
constexpr HalfPowerTerm kDiameter[] = {
    {-2, 0.011117524}, {-1, -0.076383859}, {0, 1.080142248}, {1, 0.000693129}};

// ΔB2(T*) = Σ_i b_i T*^(i/2), the second virial coefficient beyond the hard spheres'.
constexpr HalfPowerTerm kSecondVirial[] = {{-7, -0.58544978}, {-6, 0.43102052}, {-5, 0.87361369},
                                           {-4, -4.13749995}, {-3, 2.90616279}, {-2, -7.02181962},
                                           {0, 0.02459877}};
constexpr double kGamma = 1.92907278;

constexpr DensityTerm kResidual[] = {
    {0, 2, 2.01546797},     {0, 3, -28.17881636}, {0, 4, 28.28313847},    {0, 5, -10.42402873},
    {-1, 2, -19.58371655},  {-1, 3, 75.62340289}, {-1, 4, -120.70586598}, {-1, 5, 93.92740328},
    {-1, 6, -27.37737354},  {-2, 2, 29.34470520}, {-2, 3, -112.35356930}, {-2, 4, 170.64908980},
    {-2, 5, -123.06669187}, {-2, 6, 34.42288969}, {-4, 2, -13.37031968},  {-4, 3, 65.38059570},
    {-4, 4, -115.09233113}, {-4, 5, 88.91973082}, {-4, 6, -25.62099890}};

Dual halfPowerSeries(const auto& terms, Dual temperature) {
    Dual sum = constant(0.0);
    for (const HalfPowerTerm& term : terms) {
        sum = sum + term.c * pow(temperature, 0.5 * term.i);
    }
    return sum;
}

// The hard-sphere part at packing fraction ζ, per atom in k_B T (Kolafa and Nezbeda's refinement
// of Carnahan-Starling's):
// (5/3) ln(1 - ζ) + ζ (34 - 33 ζ + 4 ζ²) / (6 (1 - ζ)²).
Dual hardSphereHelmholtz(Dual zeta) {
    const Dual gap = 1.0 - zeta;
    return (5.0 / 3.0) * log(gap) +
           zeta * (34.0 - 33.0 * zeta + 4.0 * zeta * zeta) / (6.0 * gap * gap);
}

}  // namespace

Dual kolafaNezbedaDiameter(Dual temperature) {
    return kDiameterLog * log(temperature) + halfPowerSeries(kDiameter, temperature);
}

double kolafaNezbedaDiameter(double temperature) {
    return kolafaNezbedaDiameter(constant(temperature)).value;
}

// A_res/(N ε) = T A_HS(ζ) + exp(-γ ρ²) ρ T ΔB2(T) + Σ C_ij T^(i/2) ρ^j, with ζ = π ρ d³ / 6.
Dual kolafaNezbedaHelmholtz(Dual temperature, Dual density) {
    const Dual d = kolafaNezbedaDiameter(temperature);
    const Dual zeta = (std::numbers::pi / 6.0) * density * d * d * d;
    Dual a = temperature * hardSphereHelmholtz(zeta);
    a = a + exp(-kGamma * density * density) * density * temperature *
                halfPowerSeries(kSecondVirial, temperature);
    for (const DensityTerm& term : kResidual) {
        a = a + term.c * pow(temperature, 0.5 * term.i) * pow(density, term.j);
    }
    return a;
}
