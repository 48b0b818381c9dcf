#include "simulation/fast/fast_forces.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>

#include "simulation/exact/processor.h"
#if ARGON_MD_RUNTIME_VECTOR_LOOPS
#include <immintrin.h>
#endif
#include "simulation/exact/unsettled.h"
#include "simulation/fast/pair_shortcuts.h"
#include "simulation/pair_formulas.h"
#include "simulation/powers/powers.h"

namespace fast {

namespace {

using error_free::DoubleDouble;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Every pair (j, k), k < j, once, in the order of the plain loop: j from 0 up, k from 0 to j - 1.
constexpr int kPairCount = kAtomCount * (kAtomCount - 1) / 2;

struct PairIndex {
    std::array<int, kPairCount> j, k;
};

constexpr PairIndex kPairs = [] {
    PairIndex pairs{};
    int p = 0;
    for (int j = 0; j < kAtomCount; ++j) {
        for (int k = 0; k < j; ++k) {
            pairs.j[p] = j;
            pairs.k[p] = k;
            ++p;
        }
    }
    return pairs;
}();

// Vector loops over pairs work in groups of kLanes (eight doubles of AVX-512, two vectors of
// AVX2) and may run past the last pair into as many spare slots.
constexpr int kLanes = 8;
constexpr int kPaddedAtomCount = (kAtomCount + kLanes - 1) / kLanes * kLanes;
constexpr int kPaddedPairCount = kPairCount + kLanes;

// The first pair of row j.
constexpr int rowStart(int j) {
    return j * (j - 1) / 2;
}

// The parameters of a pair of species as the formulas take them, and the force scale as two
// doubles whose sum is exactly it, for the shortcuts (a 64-bit significand less its leading 53
// bits is a double).
struct PairFactors {
    PairParameters formula;
    double forceHi, forceLo;  // J/Å
    double energyScale;       // J, 4 ε, a double in both arithmetics
    double inverseSigma;      // 1/Å, 1 / σ rounded once, for the ratio's shortcut
};

using PairTable = PairFactors[kSpeciesCount][kSpeciesCount];

const PairFactors& factorsOf(const PairTable& table, const ParticleState& state, int p) {
    if constexpr (kSpeciesCount == 1) {
        return table[0][0];  // every pair is one of the one species
    }
    return table[state.species[kPairs.j[p]]][state.species[kPairs.k[p]]];
}

// One array per quantity over a list of pairs, so that each formula that adds nothing up runs
// in one vector loop over them.
struct PairGeometry {
    double dx[kPaddedPairCount], dy[kPaddedPairCount], dz[kPaddedPairCount];  // Å, j to k
    double sigma[kPaddedPairCount], inverseSigma[kPaddedPairCount];           // Å, 1/Å
    double r2[kPaddedPairCount], r[kPaddedPairCount];                         // Å², Å
    double s[kPaddedPairCount];                                               // σ / r
};

// Every pair of the step, with what only the energy needs.
struct AllPairs {
    PairGeometry geometry;
    double s6[kPairCount], s12[kPairCount];
    double energyHi[kPairCount], energyLo[kPairCount];  // J, U(r), see pairEnergyApprox
};

// The pairs inside the cutoff, in the order of the loop (on the way there, the pairs that may
// lie inside), with what their forces need.
struct InsidePairs {
    int count;
    int pair[kPaddedPairCount];  // index of the pair in the loop
    PairGeometry geometry;
    double s7[kPairCount], s13[kPairCount];
    double h[kPairCount];  // J/Å, H = dU/dr
    // J/Å, the components H d / r as doubles, for double arithmetic (see addPairForces).
    double fx[kPairCount], fy[kPairCount], fz[kPairCount];
};

// The separations of every pair along one axis, minimumImage(separation(x_k, x_j), L), row by
// row, so that atom j's coordinate stays put while those of the atoms k run, or NaN where the
// shortcut leaves them to the formulas. A row is formed in whole vectors of kLanes pairs: the
// last one runs on into the next row, which is formed afterwards and overwrites it, or, after
// the last row, into the spare slots.
void formSeparationsOrNaN(double* along, const std::array<double, kAtomCount>& x, double edge) {
    double position[kPaddedAtomCount];  // spare slots repeat the last atom
    for (int k = 0; k < kPaddedAtomCount; ++k) {
        position[k] = pair_shortcuts::coordinateOrNaN(x[std::min(k, kAtomCount - 1)], edge);
    }
    for (int j = 1; j < kAtomCount; ++j) {
        double* const row = along + rowStart(j);
        for (int first = 0; first < j; first += kLanes) {
            for (int k = first; k < first + kLanes; ++k) {
                row[k] = pair_shortcuts::minimumImageOrNaN(position[k], position[j], edge);
            }
        }
    }
}

// The separations dx, dy, dz of every pair. One test of their sums finds whether any is left.
void formSeparations(PairGeometry& g, const ParticleState& state, const Cell& cell) {
    formSeparationsOrNaN(g.dx, state.x, cell.Lx);
    formSeparationsOrNaN(g.dy, state.y, cell.Ly);
    formSeparationsOrNaN(g.dz, state.z, cell.Lz);
    std::int64_t unsettled = 0;
    for (int p = 0; p < kPairCount; ++p) {
        unsettled |= std::isnan(g.dx[p] + g.dy[p] + g.dz[p]) ? 1 : 0;
    }
    if (unsettled == 0) {
        return;
    }
    const auto settle = [](double* along, const std::array<double, kAtomCount>& x, double edge) {
        replaceNaNs(std::span(along, kPairCount), [&](std::size_t p) {
            return minimumImage(separation(x[kPairs.k[p]], x[kPairs.j[p]]), edge);
        });
    };
    settle(g.dx, state.x, cell.Lx);
    settle(g.dy, state.y, cell.Ly);
    settle(g.dz, state.z, cell.Lz);
}

// r² and r, then s = σ / r, of the first `count` pairs of a list. The square root waits for
// the settled squares in a loop of its own.
template <bool kFma>
void formDistancesAndRatios(PairGeometry& g, int count) {
    const auto n = static_cast<std::size_t>(count);
    for (int p = 0; p < count; ++p) {
        g.r2[p] = pair_shortcuts::squaredDistanceOrNaN<kFma>(g.dx[p], g.dy[p], g.dz[p]);
    }
    replaceNaNs(std::span(g.r2, n),
                [&](std::size_t p) { return squaredDistance(g.dx[p], g.dy[p], g.dz[p]); });
    for (int p = 0; p < count; ++p) {
        g.r[p] = std::sqrt(g.r2[p]);  // distance(dx, dy, dz)
    }
    for (int p = 0; p < count; ++p) {
        g.s[p] = pair_shortcuts::ratioOrNaN<kFma>(g.sigma[p], g.inverseSigma[p], g.r[p]);
    }
    replaceNaNs(std::span(g.s, n), [&](std::size_t p) { return ratio(g.sigma[p], g.r[p]); });
}

#if ARGON_MD_RUNTIME_VECTOR_LOOPS
// listBelow with AVX2: four comparisons give a mask, and a table of the sixteen masks packs the
// lanes below the bound to the front of the list, four pairs at a time. The compiler does not
// pack the plain loop below, which writes and counts one index at a time.
[[gnu::target("avx2")]] int listBelowAvx2(const double* values, int count, double bound,
                                          int* list) {
    struct Packing {
        alignas(16) int lanes[16][4];
        int count[16];
    };
    static constexpr Packing kPacking = [] {
        Packing packing{};
        for (int mask = 0; mask < 16; ++mask) {
            for (int lane = 0; lane < 4; ++lane) {
                if ((mask >> lane) & 1) {
                    packing.lanes[mask][packing.count[mask]++] = lane;
                }
            }
        }
        return packing;
    }();
    const __m256d limit = _mm256_set1_pd(bound);
    int listed = 0;
    for (int i = 0; i < count; i += 4) {
        const int mask =
            _mm256_movemask_pd(_mm256_cmp_pd(_mm256_loadu_pd(values + i), limit, _CMP_LT_OQ));
        const __m128i lanes =
            _mm_load_si128(reinterpret_cast<const __m128i*>(kPacking.lanes[mask]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(list + listed),
                         _mm_add_epi32(lanes, _mm_set1_epi32(i)));
        listed += kPacking.count[mask];
    }
    return listed;
}
#endif

// The indices i < count (in order) with values[i] < bound, written to list; returns how many.
// Without branches: each index is written and counted if below (with AVX2, four at a time). The
// values must be readable, and not below the bound, up to a multiple of four, and the list must
// have room for three more.
template <bool kAvx2>
int listBelow(const double* values, int count, double bound, int* list) {
#if ARGON_MD_RUNTIME_VECTOR_LOOPS
    if constexpr (kAvx2) {
        return listBelowAvx2(values, count, bound, list);
    }
#endif
    int listed = 0;
    for (int i = 0; i < count; ++i) {
        list[listed] = i;
        listed += values[i] < bound;
    }
    return listed;
}

// The pairs inside the cutoff with their geometry. r and s are formed only for the pairs that
// may lie inside: the squared distance in plain double arithmetic lies within 2^-50 (relative)
// of the stored one in either arithmetic (three roundings of positive terms, each under 2^-53,
// and the stored value within 2^-52.9 of the exact sum). A pair with r < rcut, both doubles,
// has r at most rcut's predecessor, and as the square root is correctly rounded its stored
// square lies below rcut²; its plain square then lies below rcut² (1 + 2^-40): every pair
// inside is among these candidates, and their r settles the rest.
template <bool kFma, bool kAvx2>
void listInsidePairs(const PairGeometry& all, const ParticleState& state, const PairTable& table,
                     double cutoff, InsidePairs& inside) {
    double plainSquare[kPaddedPairCount];  // Å²
    for (int p = 0; p < kPairCount; ++p) {
        plainSquare[p] = all.dx[p] * all.dx[p] + all.dy[p] * all.dy[p] + all.dz[p] * all.dz[p];
    }
    std::fill(plainSquare + kPairCount, plainSquare + kPaddedPairCount, kInfinity);
    const int candidates =
        listBelow<kAvx2>(plainSquare, kPairCount, cutoff * cutoff * (1.0 + 0x1p-40), inside.pair);
    PairGeometry& g = inside.geometry;
    for (int m = 0; m < candidates; ++m) {
        const int p = inside.pair[m];
        g.dx[m] = all.dx[p];
        g.dy[m] = all.dy[p];
        g.dz[m] = all.dz[p];
        g.sigma[m] = factorsOf(table, state, p).formula.sigma;
        g.inverseSigma[m] = factorsOf(table, state, p).inverseSigma;
    }
    formDistancesAndRatios<kFma>(g, candidates);
    int in = 0;
    for (int m = 0; m < candidates; ++m) {
        inside.pair[in] = inside.pair[m];
        g.dx[in] = g.dx[m];
        g.dy[in] = g.dy[m];
        g.dz[in] = g.dz[m];
        g.r[in] = g.r[m];
        g.s[in] = g.s[m];
        in += g.r[m] < cutoff;  // strictly: no force at the cutoff
    }
    inside.count = in;
}

// H and, in double arithmetic, the components H dx / r, H dy / r, H dz / r of every pair inside.
template <bool kFma>
void formPairForces(InsidePairs& inside, const ParticleState& state, const PairTable& table) {
    const auto in = static_cast<std::size_t>(inside.count);
    const PairGeometry& g = inside.geometry;
    argon::powers7And13(std::span<const double>(g.s, in), std::span(inside.s7, in),
                        std::span(inside.s13, in));
    for (std::size_t m = 0; m < in; ++m) {
        const PairFactors& pair = factorsOf(table, state, inside.pair[m]);
        inside.h[m] = pair_shortcuts::pairDerivativeOrNaN<kFma>(inside.s13[m], inside.s7[m],
                                                                pair.forceHi, pair.forceLo);
    }
    replaceNaNs(std::span(inside.h, in), [&](std::size_t m) {
        return pairDerivative(inside.s13[m], inside.s7[m],
                              factorsOf(table, state, inside.pair[m]).formula.forceScale);
    });
    if constexpr (!kExtendedArithmetic) {
        for (std::size_t m = 0; m < in; ++m) {
            inside.fx[m] = stored(forceComponent(inside.h[m], g.dx[m], g.r[m]));
            inside.fy[m] = stored(forceComponent(inside.h[m], g.dy[m], g.r[m]));
            inside.fz[m] = stored(forceComponent(inside.h[m], g.dz[m], g.r[m]));
        }
    }
}

// The pair forces on atoms j and k, pair by pair in the order of the loop. In double arithmetic
// H d / r is a double, formed for every pair in a vector loop; in extended arithmetic it keeps
// 64 bits until it joins the sums, so it is formed here. Sums on other atoms run beside these,
// so the x87 unit's trips through memory cost little here, unlike in the single energy sum.
void addPairForces(ParticleState& state, const InsidePairs& inside) {
    const PairGeometry& g = inside.geometry;
    for (int m = 0; m < inside.count; ++m) {
        const int j = kPairs.j[inside.pair[m]];
        const int k = kPairs.k[inside.pair[m]];
        if constexpr (kExtendedArithmetic) {
            addPairForce(state.fx[j], state.fx[k], forceComponent(inside.h[m], g.dx[m], g.r[m]));
            addPairForce(state.fy[j], state.fy[k], forceComponent(inside.h[m], g.dy[m], g.r[m]));
            addPairForce(state.fz[j], state.fz[k], forceComponent(inside.h[m], g.dz[m], g.r[m]));
        } else {
            addPairForce(state.fx[j], state.fx[k], inside.fx[m]);
            addPairForce(state.fy[j], state.fy[k], inside.fy[m]);
            addPairForce(state.fz[j], state.fz[k], inside.fz[m]);
        }
    }
}

// U(r) of every pair, from s^6 and s^12 of every pair.
template <bool kFma>
void formPairEnergies(AllPairs& pairs, const ParticleState& state, const PairTable& table) {
    PairGeometry& g = pairs.geometry;
    for (int p = 0; p < kPairCount; ++p) {
        g.sigma[p] = factorsOf(table, state, p).formula.sigma;
        g.inverseSigma[p] = factorsOf(table, state, p).inverseSigma;
    }
    formDistancesAndRatios<kFma>(g, kPairCount);
    argon::powers6And12(std::span<const double>(g.s, kPairCount), std::span(pairs.s6),
                        std::span(pairs.s12));
    for (int p = 0; p < kPairCount; ++p) {
        const DoubleDouble u = pair_shortcuts::pairEnergyApprox<kFma>(
            pairs.s12[p], pairs.s6[p], factorsOf(table, state, p).energyScale);
        pairs.energyHi[p] = u.hi;
        pairs.energyLo[p] = u.lo;
    }
}

// The pairs whose energies are added in one go before their sums are checked.
constexpr int kSumChunk = 32;

// The potential energy of every pair, added in the order of the loop, J. The chain of additions
// is the one serial part of the step, so it runs alone: a chunk of pairs at a time with the
// leading parts of the pair energies, which are the sums in double arithmetic and almost always
// in extended arithmetic too. The checks of a chunk then form a vector loop; the first sum they
// do not settle is set from the formula, and the chain resumes after it.
double sumPairEnergies(const AllPairs& pairs, const ParticleState& state, const PairTable& table) {
    double running[kPairCount + 1];  // running[p]: the sum before pair p, J
    running[0] = 0.0;
    for (int from = 0; from < kPairCount;) {
        const int end = std::min(from + kSumChunk, kPairCount);
        for (int p = from; p < end; ++p) {
            running[p + 1] = pair_shortcuts::sumWithLeadingPart(
                running[p], {pairs.energyHi[p], pairs.energyLo[p]});
        }
        if constexpr (!kExtendedArithmetic) {
            from = end;
            continue;
        }
        double unsettled[kSumChunk];  // NaN where the check fails
        for (int p = from; p < end; ++p) {
            unsettled[p - from] =
                pair_shortcuts::sumSettles(running[p], {pairs.energyHi[p], pairs.energyLo[p]})
                    ? 0.0
                    : pair_shortcuts::kNaN;
        }
        const int p =
            from + static_cast<int>(firstNaN(std::span(unsettled, std::size_t(end - from))));
        if (p < end) {
            running[p + 1] = addPairEnergy(
                running[p], pairEnergy(pairs.s12[p], pairs.s6[p],
                                       factorsOf(table, state, p).formula.energyScale));
        }
        from = std::min(p + 1, end);
    }
    return running[kPairCount];
}

// The whole evaluation, with the exact products taken from FMA or from Veltkamp's split and the
// pairs inside listed with AVX2 or in plain code; the potential energy, and what only it needs
// (every pair's r, s, s^6 and s^12), where asked for.
template <bool kFma, bool kAvx2>
double evaluate(ParticleState& state, const Cell& cell, const RunParameters& params,
                const PairTable& table, PotentialEnergy energy) {
    AllPairs pairs;
    InsidePairs inside;
    formSeparations(pairs.geometry, state, cell);
    listInsidePairs<kFma, kAvx2>(pairs.geometry, state, table, params.cutoff, inside);
    formPairForces<kFma>(inside, state, table);
    addPairForces(state, inside);
    if (energy == PotentialEnergy::notNeeded) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    formPairEnergies<kFma>(pairs, state, table);
    return sumPairEnergies(pairs, state, table);
}

// The vector loops compiled three times where the build's target has no FMA: for processors
// with AVX-512 and for those with AVX2 and FMA, chosen at run time, and for the build's target.
// flatten inlines every formula, so that all of it follows the function's target. All give the
// same bits: the shortcuts use only exact products and correctly rounded operations.
#if ARGON_MD_RUNTIME_VECTOR_LOOPS
[[gnu::target("avx2,fma"), gnu::flatten]] double evaluateWithAvx2(ParticleState& state,
                                                                  const Cell& cell,
                                                                  const RunParameters& params,
                                                                  const PairTable& table,
                                                                  PotentialEnergy energy) {
    return evaluate<true, true>(state, cell, params, table, energy);
}

// The same for processors with AVX-512: eight pairs to a vector, where AVX2 holds four.
[[gnu::target(ARGON_MD_AVX512_TARGET), gnu::flatten]] double evaluateWithAvx512(
    ParticleState& state, const Cell& cell, const RunParameters& params, const PairTable& table,
    PotentialEnergy energy) {
    return evaluate<true, true>(state, cell, params, table, energy);
}
#endif

[[gnu::flatten]] double evaluatePortable(ParticleState& state, const Cell& cell,
                                         const RunParameters& params, const PairTable& table,
                                         PotentialEnergy energy) {
    return evaluate<kTargetHasFma, false>(state, cell, params, table, energy);
}

}  // namespace

double computeForces(ParticleState& state, const SpeciesTable& species, const Cell& cell,
                     const RunParameters& params, PotentialEnergy energy,
                     [[maybe_unused]] VectorUnits units) {
    PairTable table;
    for (int a = 0; a < kSpeciesCount; ++a) {
        for (int b = 0; b < kSpeciesCount; ++b) {
            PairFactors& pair = table[a][b];
            pair.formula = combineSpecies(species, a, b);
            pair.forceHi = stored(pair.formula.forceScale);
            pair.forceLo = stored(pair.formula.forceScale - pair.forceHi);
            pair.energyScale = stored(pair.formula.energyScale);
            pair.inverseSigma = 1.0 / pair.formula.sigma;
        }
    }
    state.fx.fill(0.0);
    state.fy.fill(0.0);
    state.fz.fill(0.0);
#if ARGON_MD_RUNTIME_VECTOR_LOOPS
    if (units == VectorUnits::best && processorHasAvx512()) {
        return evaluateWithAvx512(state, cell, params, table, energy);
    }
    if (units != VectorUnits::portable && processorHasAvx2AndFma()) {
        return evaluateWithAvx2(state, cell, params, table, energy);
    }
#endif
    return evaluatePortable(state, cell, params, table, energy);
}

}  // namespace fast
