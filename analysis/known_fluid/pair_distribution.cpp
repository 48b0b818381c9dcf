#include "analysis/known_fluid/pair_distribution.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {

// The integrals' step, σ: a thousandth of σ puts the repulsive wall, where f climbs from -1,
// on some fifty points.
constexpr double kStep = 1e-3;
// The Lennard-Jones Mayer function falls as 4 / (T* r⁶): beyond 8 σ its share of y1 is below
// 1e-6.
constexpr double kLennardJonesReach = 8.0;

// u(r) = 4 (r^-12 - r^-6), ε, r in σ.
double lennardJones(double r) {
    const double inverse6 = 1.0 / (r * r * r * r * r * r);
    return 4.0 * (inverse6 * inverse6 - inverse6);
}

// The midpoint of step k (from 0), σ. The midpoint rule takes a jump of f on a step's edge (a
// hard sphere's) exactly.
double midpoint(std::size_t k) {
    return (static_cast<double>(k) + 0.5) * kStep;
}

// F(x) = ∫_0^x t f(t) dt at x = k kStep, k = 0 .. count.
std::vector<double> cumulative(const std::function<double(double)>& mayer, std::size_t count) {
    std::vector<double> f(count + 1, 0.0);
    for (std::size_t k = 0; k < count; ++k) {
        f[k + 1] = f[k] + kStep * midpoint(k) * mayer(midpoint(k));
    }
    return f;
}

double interpolated(const std::vector<double>& table, double x) {
    const double at = x / kStep;
    const auto k = static_cast<std::size_t>(at);
    if (k + 1 >= table.size()) return table.back();
    const double share = at - static_cast<double>(k);
    return table[k] + share * (table[k + 1] - table[k]);
}

// ρ* y1(r), the first order's share of g.
double firstOrder(double r, double temperature, double density) {
    const auto mayer = [temperature](double s) {
        return std::expm1(-lennardJones(s) / temperature);
    };
    return density * mayerOverlap(mayer, kLennardJonesReach, r);
}

double firstOrderG(double r, double temperature, double density) {
    return std::exp(-lennardJones(r) / temperature) * (1.0 + firstOrder(r, temperature, density));
}

}  // namespace

double mayerOverlap(const std::function<double(double)>& mayer, double reach, double r) {
    const auto count = static_cast<std::size_t>(std::ceil((reach + r) / kStep));
    const std::vector<double> f = cumulative(mayer, count);
    const auto steps = static_cast<std::size_t>(std::ceil(reach / kStep));
    double sum = 0.0;
    for (std::size_t k = 0; k < steps; ++k) {
        const double s = midpoint(k);
        sum += s * mayer(s) * (interpolated(f, r + s) - interpolated(f, std::abs(r - s)));
    }
    return 2.0 * std::numbers::pi / r * sum * kStep;
}

// Golden-section search for the maximum between 1 σ (g still rising from the wall) and 1.5 σ
// (past the potential's minimum at 2^(1/6) σ = 1.12 σ, near which the peak lies), to 1e-5 σ.
PairPeak lowDensityPeak(double temperature, double density) {
    const double golden = 0.5 * (std::sqrt(5.0) - 1.0);
    double low = 1.0;
    double high = 1.5;
    while (high - low > 1e-5) {
        const double a = high - golden * (high - low);
        const double b = low + golden * (high - low);
        if (firstOrderG(a, temperature, density) > firstOrderG(b, temperature, density)) {
            high = b;
        } else {
            low = a;
        }
    }
    const double position = 0.5 * (low + high);
    return {position, firstOrderG(position, temperature, density),
            firstOrder(position, temperature, density)};
}
