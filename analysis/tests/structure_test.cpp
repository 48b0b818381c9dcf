// Unwrapping, the MSD over every time origin, D from it and g(r), on trajectories made here
// with known answers.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "analysis/compute/diffusion.h"
#include "analysis/compute/msd_average.h"
#include "analysis/compute/rdf.h"
#include "analysis/compute/rdf_peak.h"
#include "analysis/compute/unwrap.h"
#include "analysis/known_fluid/pair_distribution.h"

namespace {

constexpr double kInterval = 0.04;  // ps

// `frames` frames of `atoms` atoms, frame f at x(f, atom, axis), wrapped into a cubic cell.
template <typename Position>
UnwrappedTrajectory made(std::size_t atoms, std::size_t frames, double edge, Position x) {
    UnwrappedTrajectory t = prepareUnwrapping(atoms, {edge, edge, edge}, {0.0, kInterval}, frames);
    std::vector<double> frame(atoms * 3);
    for (std::size_t f = 0; f < frames; ++f) {
        for (std::size_t i = 0; i < frame.size(); ++i) {
            const double u = x(f, i / 3, i % 3);
            frame[i] = u - edge * std::floor(u / edge);
        }
        addFrame(t, frame);
    }
    return t;
}

// g(r) of every frame of `t`, as they stream past.
Rdf rdfOf(const UnwrappedTrajectory& t) {
    RdfAnalysis analysis =
        prepareRdf(t.atomCount, t.edge, {kEquilibrationTime, kInterval}, frameCount(t));
    for (std::size_t f = 0; f < frameCount(t); ++f) {
        addFrame(analysis, f, frameAt(t, f));
    }
    return *concludeRdf(analysis);
}

// Atoms in free flight, each across the faces of the cell twice (48 Å in a 20 Å cell): unwrapped,
// their MSD is zero at lag zero and the square of the distance flown at every lag; and no D.
TEST(AveragedMsd, BallisticAtomsGiveTheSquareOfTheDistanceAndNoD) {
    const double v = 3.0;  // Å/ps, along a different direction for each atom
    const auto t = made(3, 400, 20.0, [&](std::size_t f, std::size_t a, std::size_t axis) {
        return 5.0 + (axis == a ? v * kInterval * static_cast<double>(f) : 0.0);
    });
    const MsdAverage m = averageMsd(t, 0);
    for (std::size_t k = 0; k < m.msd.size(); ++k) {
        const double flown = v * lagTime(m, k);
        EXPECT_NEAR(m.msd[k], flown * flown, 1e-9 * (1.0 + flown * flown)) << k;
    }
    EXPECT_FALSE(fitDiffusion(m, t));  // free flight never becomes a random walk
}

// Atoms held in place, swinging twice over the run: their MSD falls again over the second half of
// the lags, so they have no memory time and no D (not a negative one).
TEST(Diffusion, TrappedAtomsGiveNoD) {
    const auto t = made(3, 400, 20.0, [](std::size_t f, std::size_t a, std::size_t axis) {
        const double phase = 4.0 * std::numbers::pi * static_cast<double>(f) / 400.0;
        return 10.0 + (axis == a ? 2.0 * std::sin(phase) : 0.0);
    });
    const MsdAverage m = averageMsd(t, 0);
    EXPECT_FALSE(memoryTime(m));
    EXPECT_FALSE(fitDiffusion(m, t));
}

// A random walk of 50 atoms over 1000 frames with D = 20 Å²/ps: steps of variance 2 D Δt per
// axis. Over seeds 1 to 20, D lies within its stated error in 13 and within twice it in 19,
// as an honest one-standard-error bar should (about 68% and 95%).
TEST(Diffusion, FindsTheDiffusionCoefficientOfARandomWalkWithinItsError) {
    constexpr double kD = 20.0;
    int withinOne = 0;
    int withinTwo = 0;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937_64 random(seed);
        std::normal_distribution<double> step(0.0, std::sqrt(2.0 * kD * kInterval));
        std::vector<double> walk(1000 * 150, 0.0);
        for (std::size_t i = 150; i < walk.size(); ++i) walk[i] = walk[i - 150] + step(random);
        const auto t = made(50, 1000, 100.0, [&](std::size_t f, std::size_t a, std::size_t axis) {
            return walk[(f * 50 + a) * 3 + axis];
        });
        const auto fit = fitDiffusion(averageMsd(t, 0), t);
        ASSERT_TRUE(fit);
        EXPECT_EQ(fit->last, 500u);
        withinOne += std::abs(fit->d - kD) <= fit->dError;
        withinTwo += std::abs(fit->d - kD) <= 2.0 * fit->dError;
    }
    EXPECT_GE(withinOne, 10);
    EXPECT_GE(withinTwo, 18);
}

TEST(RadialDistribution, IsOneWithinNoiseForUniformRandomPositions) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> where(0.0, 20.0);
    std::vector<double> placed(800 * 3);
    for (double& x : placed) x = where(random);
    const auto t = made(800, 1, 20.0, [&](std::size_t, std::size_t a, std::size_t axis) {
        return placed[a * 3 + axis];
    });
    const Rdf rdf = rdfOf(t);
    ASSERT_EQ(rdf.g.size(), 200u);  // up to half the edge
    // Each bin's count is Poisson about its ideal-gas mean: (g - 1) √mean is about ±1.
    double squares = 0.0;
    int bins = 0;
    for (std::size_t b = 40; b < rdf.g.size(); ++b, ++bins) {
        const double inner = b * rdf.binWidth, outer = inner + rdf.binWidth;
        const double mean = 800 * 799 / 2.0 * 4.0 / 3.0 * M_PI *
                            (outer * outer * outer - inner * inner * inner) / 8000.0;
        squares += (rdf.g[b] - 1.0) * (rdf.g[b] - 1.0) * mean;
    }
    EXPECT_NEAR(std::sqrt(squares / bins), 1.0, 0.2);
    // An ideal gas has no first shell: a minimum its noise can make is not taken for one.
    const auto shell = firstShell(rdf);
    EXPECT_TRUE(!shell || !shell->significant);
}

TEST(RadialDistribution, ASimpleCubicLatticeHasItsShellsOf6And12And8) {
    const double a = 4.01;  // Å, the shells then fall well inside their bins
    const auto t = made(216, 1, 6 * a, [&](std::size_t, std::size_t atom, std::size_t axis) {
        const std::size_t cell[3] = {atom % 6, atom / 6 % 6, atom / 36};
        return (static_cast<double>(cell[axis]) + 0.25) * a;
    });
    const Rdf rdf = rdfOf(t);
    const auto bin = [&](double r) { return static_cast<std::size_t>(r / rdf.binWidth); };
    const double shells[3] = {a, std::sqrt(2.0) * a, std::sqrt(3.0) * a};
    const double within[3] = {6, 18, 26};
    for (int s = 0; s < 3; ++s) {
        EXPECT_GT(rdf.g[bin(shells[s])], 1.0);
        EXPECT_EQ(rdf.g[bin(shells[s]) - 1], 0.0);
        EXPECT_NEAR(rdf.neighbours[bin(shells[s])], within[s], 1e-12);
    }
    const auto shell = firstShell(rdf);
    ASSERT_TRUE(shell);
    EXPECT_EQ(shell->peak, bin(a));
    EXPECT_EQ(rdf.g[bin(a) + 1], 0.0);
    EXPECT_NEAR(rdf.neighbours[bin(a) + 1], 6.0, 1e-12);  // at the first empty bin
    EXPECT_GT(shell->minimum, bin(a));
    EXPECT_LT(shell->minimum, bin(shells[1]));
    EXPECT_NEAR(shell->coordination, 6.0, 1e-12);
    EXPECT_TRUE(shell->significant);
}

// g(r) of the low-density form at the run's state, in the report's bins, with the Gaussian
// scatter of Poisson counts over 900 frames of 50 atoms in the run's cell. Without noise the
// fitted peak lies where the form peaks; with it, over 400 draws, the fits scatter by their
// stated errors (to 10%, three times the uncertainty of that scatter).
TEST(RadialDistribution, TheFittedPeakFindsTheLowDensityPeakWithinItsErrors) {
    constexpr double kSigma = 3.4, kTemperature = 5.903188, kDensity = 0.12355, kEdge = 25.1488;
    const auto mayer = [](double s) {
        const double s6 = std::pow(s, -6.0);
        return std::expm1(-4.0 * (s6 * s6 - s6) / kTemperature);
    };
    Rdf form;
    form.frames = 900;
    form.neighbours.assign(200, 0.0);
    for (std::size_t b = 0; b < 200; ++b) {
        const double r = binCentre(form, b) / kSigma, inner = b * form.binWidth;
        const double outer = inner + form.binWidth;
        form.g.push_back((1.0 + mayer(r)) * (1.0 + kDensity * mayerOverlap(mayer, 8.0, r)));
        form.ideal.push_back(900 * 1225.0 * 4.0 / 3.0 * M_PI *
                             (outer * outer * outer - inner * inner * inner) / std::pow(kEdge, 3));
    }
    const PairPeak truth = lowDensityPeak(kTemperature, kDensity);
    const auto exact = fitPeak(form, *firstShell(form), kSigma);
    ASSERT_TRUE(exact);
    EXPECT_NEAR(exact->position, truth.position * kSigma, 0.005);
    EXPECT_NEAR(exact->height, truth.height, 0.002);

    std::mt19937_64 random(5);
    std::normal_distribution<double> unit;
    double positions = 0.0, positionSquares = 0.0, positionErrors = 0.0;
    double heights = 0.0, heightSquares = 0.0, heightErrors = 0.0;
    constexpr int kDraws = 400;
    for (int draw = 0; draw < kDraws; ++draw) {
        Rdf noisy = form;
        for (std::size_t b = 0; b < 200; ++b) {
            noisy.g[b] += unit(random) * std::sqrt(form.g[b] / form.ideal[b]);
        }
        const auto shell = firstShell(noisy);
        ASSERT_TRUE(shell);
        const auto peak = fitPeak(noisy, *shell, kSigma);
        ASSERT_TRUE(peak);
        positions += peak->position;
        positionSquares += peak->position * peak->position;
        positionErrors += peak->positionError;
        heights += peak->height;
        heightSquares += peak->height * peak->height;
        heightErrors += peak->heightError;
    }
    const auto spread = [](double sum, double squares) {
        return std::sqrt((squares - sum * sum / kDraws) / (kDraws - 1));
    };
    EXPECT_NEAR(spread(positions, positionSquares), positionErrors / kDraws,
                0.1 * positionErrors / kDraws);
    EXPECT_NEAR(spread(heights, heightSquares), heightErrors / kDraws, 0.1 * heightErrors / kDraws);
}

}  // namespace
