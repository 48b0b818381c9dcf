#include "simulation/forces.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>

#if defined(__x86_64__) && !defined(__FP_FAST_FMA)
#include <immintrin.h>
#endif

#include "simulation/pair_shortcuts.h"
#include "simulation/powers.h"
#include "simulation/unsettled.h"

using pair_shortcuts::DoubleDouble;

PairParameters combineSpecies(const SpeciesTable& table, int a, int b) {
    PairParameters pair{};
    pair.sigma = stored((Wide(table.sigma[a]) + table.sigma[b]) * 0.5);
    const double epsilon = std::sqrt(stored(Wide(table.epsilon[a]) * table.epsilon[b]));
    pair.forceScale = Wide(4.0) * epsilon * (Wide(1.0) / pair.sigma);
    pair.energyScale = Wide(4.0) * epsilon;
    // A 64-bit significand less its leading 53 bits is a double.
    pair.forceScaleHi = stored(pair.forceScale);
    pair.forceScaleLo = stored(pair.forceScale - pair.forceScaleHi);
    return pair;
}

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Every pair (j, k), k < j, once, in the order of the loop: j from 0 up, k from 0 to j - 1.
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

// Vector loops over pairs work in groups of kLanes (four doubles of AVX2) and may run past the
// last pair into as many spare slots.
constexpr int kLanes = 4;
constexpr int kPaddedAtomCount = (kAtomCount + kLanes - 1) / kLanes * kLanes;
constexpr int kPaddedPairCount = kPairCount + kLanes;

// The first pair of row j.
constexpr int rowStart(int j) {
    return j * (j - 1) / 2;
}

// What the pair formulas need and give, one array per quantity over all pairs of a step, so
// that each formula that adds nothing up runs in one vector loop over them; the sums then take
// the results in the order of the pairs.
struct StepPairs {
    double sigma[kPaddedPairCount];        // Å, σ of the pair
    double energyScale[kPaddedPairCount];  // J, 4 ε of the pair (a double in both arithmetics)
    double dx[kPaddedPairCount], dy[kPaddedPairCount], dz[kPaddedPairCount];  // Å, j to k
    double r2[kPairCount], r[kPaddedPairCount];                               // Å², Å
    double s[kPairCount];                                                     // σ / r
    double s6[kPairCount], s12[kPairCount];
    double energyHi[kPairCount], energyLo[kPairCount];  // J, U(r), see pairEnergyApprox
};

// The pairs inside the cutoff, in the order of the loop, with what their forces need (on the way
// there, the pairs that may lie inside).
struct InsidePairs {
    int count;
    int pair[kPaddedPairCount];                             // index into StepPairs
    double dx[kPairCount], dy[kPairCount], dz[kPairCount];  // Å
    double sigma[kPairCount];                               // Å
    double r2[kPairCount], r[kPairCount];                   // Å², Å
    double s[kPairCount], s7[kPairCount], s13[kPairCount];
    double forceHi[kPairCount], forceLo[kPairCount];  // J/Å, 4 ε / σ, see PairParameters
    double h[kPairCount];                             // J/Å, H = dU/dr
    // J/Å, the components H d / r as doubles, for double arithmetic (see addPairForce).
    double fx[kPairCount], fy[kPairCount], fz[kPairCount];
};

using PairTable = PairParameters[kSpeciesCount][kSpeciesCount];

const PairParameters& parametersOf(const PairTable& table, const ParticleState& state, int p) {
    if constexpr (kSpeciesCount == 1) {
        return table[0][0];  // every pair is one of the one species
    }
    return table[state.species[kPairs.j[p]]][state.species[kPairs.k[p]]];
}

// values[i] = shortcut(i) for every i in [0, count), and formula(i) where the shortcut cannot
// settle the value (NaN, a few times per thousand in extended arithmetic; never in double
// arithmetic, where the shortcut is the formula). Blocks of the shortcut form vector loops that
// note NaN as they go; only a block with NaN is gone through again, one value at a time.
template <typename Shortcut, typename Formula>
void formEach(double* values, int count, Shortcut shortcut, Formula formula) {
    constexpr int kBlock = 32;
    for (int start = 0; start < count; start += kBlock) {
        const int end = std::min(count, start + kBlock);
        std::int64_t unsettled = 0;
        for (int i = start; i < end; ++i) {
            values[i] = shortcut(i);
            unsettled |= std::isnan(values[i]) ? 1 : 0;
        }
        for (int i = start; kExtendedArithmetic && unsettled != 0 && i < end; ++i) {
            if (std::isnan(values[i])) {
                values[i] = formula(i);
            }
        }
    }
}

// A parameter of every pair that depends on the species of its atoms, parameter(a, b), row by
// row in whole vectors (see formSeparations).
template <typename Parameter>
void formPairParameter(double* values, const ParticleState& state, Parameter parameter) {
    double with[kSpeciesCount][kPaddedAtomCount];  // of each species with every atom
    for (int a = 0; a < kSpeciesCount; ++a) {
        for (int k = 0; k < kPaddedAtomCount; ++k) {
            with[a][k] = parameter(a, state.species[std::min(k, kAtomCount - 1)]);
        }
    }
    for (int j = 1; j < kAtomCount; ++j) {
        double* const row = values + rowStart(j);
        const double* const ofSpecies = with[state.species[j]];
        for (int first = 0; first < j; first += kLanes) {
            for (int k = first; k < first + kLanes; ++k) {
                row[k] = ofSpecies[k];
            }
        }
    }
}

// The separations of every pair along one axis, d = position of k - position of j, row by row,
// in whole vectors (see formSeparations). One axis at a time keeps its constants in registers.
// With every position in [0, L] the minimum image needs no check of |d| <= L; positions outside
// it, which a run never has, take the formulas pair by pair. The difference needs no check in
// double arithmetic, nor in extended arithmetic for positions in [2^-6, 2^5) (see
// storedDifference); the pairs of an atom outside that range, near the face at 0, are formed
// again from the formulas.
void formSeparationsAlong(double* separation, const double (&position)[kPaddedAtomCount],
                          double edge) {
    std::int64_t outsideCell = 0;
    for (int k = 0; k < kPaddedAtomCount; ++k) {
        outsideCell |= (position[k] < 0.0) | (position[k] > edge) | std::isnan(position[k]) ? 1 : 0;
    }
    for (int j = 1; j < kAtomCount; ++j) {
        double* const row = separation + rowStart(j);
        if (outsideCell != 0) {
            for (int k = 0; k < j; ++k) {
                row[k] = minimumImage(storedDifference(position[k], position[j]), edge);
            }
            continue;
        }
        for (int first = 0; first < j; first += kLanes) {
            for (int k = first; k < first + kLanes; ++k) {
                row[k] = minimumImageOrNaN(position[k] - position[j], edge);
            }
        }
    }
    for (int atom = 0; kExtendedArithmetic && outsideCell == 0 && atom < kAtomCount; ++atom) {
        if (position[atom] >= 0x1p-6 && position[atom] < 0x1p5) {
            continue;
        }
        for (int k = 0; k < atom; ++k) {
            separation[rowStart(atom) + k] =
                minimumImage(storedDifference(position[k], position[atom]), edge);
        }
        for (int j = atom + 1; j < kAtomCount; ++j) {
            separation[rowStart(j) + atom] =
                minimumImage(storedDifference(position[atom], position[j]), edge);
        }
    }
}

// The separations dx, dy, dz of every pair: differences, then the minimum image,
// row by row, so that atom j's coordinates stay put while those of the atoms k run. A row is
// formed in whole vectors of kLanes pairs: the last one runs on into the next row, which is
// formed afterwards and overwrites it, or, after the last row, into the spare slots.
void formSeparations(StepPairs& pairs, const ParticleState& state, const Cell& cell) {
    // The coordinates, with spare slots that repeat the last atom.
    double x[kPaddedAtomCount], y[kPaddedAtomCount], z[kPaddedAtomCount];
    for (int k = 0; k < kPaddedAtomCount; ++k) {
        const int atom = std::min(k, kAtomCount - 1);
        x[k] = state.x[atom];
        y[k] = state.y[atom];
        z[k] = state.z[atom];
    }
    formSeparationsAlong(pairs.dx, x, cell.Lx);
    formSeparationsAlong(pairs.dy, y, cell.Ly);
    formSeparationsAlong(pairs.dz, z, cell.Lz);
    // A separation near half an edge is NaN, and so is then the sum of the three.
    std::int64_t nearHalfAnEdge = 0;
    for (int p = 0; p < kPairCount; ++p) {
        nearHalfAnEdge |= std::isnan(pairs.dx[p] + pairs.dy[p] + pairs.dz[p]) ? 1 : 0;
    }
    if (nearHalfAnEdge == 0) {
        return;
    }
    replaceNaNs(std::span(pairs.dx, kPairCount), [&](std::size_t p) {
        return minimumImage(storedDifference(x[kPairs.k[p]], x[kPairs.j[p]]), cell.Lx);
    });
    replaceNaNs(std::span(pairs.dy, kPairCount), [&](std::size_t p) {
        return minimumImage(storedDifference(y[kPairs.k[p]], y[kPairs.j[p]]), cell.Ly);
    });
    replaceNaNs(std::span(pairs.dz, kPairCount), [&](std::size_t p) {
        return minimumImage(storedDifference(z[kPairs.k[p]], z[kPairs.j[p]]), cell.Lz);
    });
}

// r² = dx² + dy² + dz², r = sqrt(r²) and s = σ / r of the first `count` pairs of a list (every
// pair of the step, or those that may lie inside the cutoff). The square root waits for the
// checked squares in a loop of its own.
template <bool kFma, typename Pairs>
void formDistancesAndRatios(Pairs& pairs, int count) {
    formEach(
        pairs.r2, count,
        [&](int p) {
            return pair_shortcuts::squaredDistanceOrNaN<kFma>(pairs.dx[p], pairs.dy[p],
                                                              pairs.dz[p]);
        },
        [&](int p) { return squaredDistance(pairs.dx[p], pairs.dy[p], pairs.dz[p]); });
    for (int p = 0; p < count; ++p) {
        pairs.r[p] = std::sqrt(pairs.r2[p]);
    }
    formEach(
        pairs.s, count,
        [&](int p) { return pair_shortcuts::ratioOrNaN<kFma>(pairs.sigma[p], pairs.r[p]); },
        [&](int p) { return ratio(pairs.sigma[p], pairs.r[p]); });
}

#if defined(__x86_64__) && !defined(__FP_FAST_FMA)
// listBelow with AVX2: four comparisons give a mask, and a table of the sixteen masks packs the
// lanes below the bound to the front of the list.
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
#if defined(__x86_64__) && !defined(__FP_FAST_FMA)
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

// The pairs inside the cutoff (r < rcut) with their geometry, from every pair of the step.
template <bool kAvx2>
void listInsidePairs(StepPairs& pairs, double cutoff, InsidePairs& inside) {
    std::fill(pairs.r + kPairCount, pairs.r + kPaddedPairCount, kInfinity);
    const int in = listBelow<kAvx2>(pairs.r, kPairCount, cutoff, inside.pair);
    inside.count = in;
    for (int m = 0; m < in; ++m) {
        const int p = inside.pair[m];
        inside.dx[m] = pairs.dx[p];
        inside.dy[m] = pairs.dy[p];
        inside.dz[m] = pairs.dz[p];
        inside.r[m] = pairs.r[p];
        inside.s[m] = pairs.s[p];
    }
}

// The pairs inside the cutoff with their geometry, when only the forces are wanted: r and s are
// formed only for the pairs that may lie inside. The squared distance in plain double arithmetic
// lies within 2^-50 (relative) of the stored one in either arithmetic (three roundings of
// positive terms, each under 2^-53, and the stored value within 2^-52.9 of the exact sum). A
// pair with r < rcut, both doubles, has r at most rcut's predecessor, and as the square root is
// correctly rounded its stored square lies below rcut²; its plain square then lies below
// rcut² (1 + 2^-40): every pair inside is among these candidates, and their r settles the rest.
template <bool kFma, bool kAvx2>
void listInsidePairsFromCandidates(const StepPairs& pairs, const ParticleState& state,
                                   const PairTable& table, double cutoff, InsidePairs& inside) {
    double plainSquare[kPaddedPairCount];  // Å²
    for (int p = 0; p < kPairCount; ++p) {
        plainSquare[p] =
            pairs.dx[p] * pairs.dx[p] + pairs.dy[p] * pairs.dy[p] + pairs.dz[p] * pairs.dz[p];
    }
    std::fill(plainSquare + kPairCount, plainSquare + kPaddedPairCount, kInfinity);
    const int candidates =
        listBelow<kAvx2>(plainSquare, kPairCount, cutoff * cutoff * (1.0 + 0x1p-40), inside.pair);
    for (int m = 0; m < candidates; ++m) {
        const int p = inside.pair[m];
        inside.dx[m] = pairs.dx[p];
        inside.dy[m] = pairs.dy[p];
        inside.dz[m] = pairs.dz[p];
        inside.sigma[m] = parametersOf(table, state, p).sigma;
    }
    formDistancesAndRatios<kFma>(inside, candidates);
    int in = 0;
    for (int m = 0; m < candidates; ++m) {
        inside.pair[in] = inside.pair[m];
        inside.dx[in] = inside.dx[m];
        inside.dy[in] = inside.dy[m];
        inside.dz[in] = inside.dz[m];
        inside.r[in] = inside.r[m];
        inside.s[in] = inside.s[m];
        in += inside.r[m] < cutoff;
    }
    inside.count = in;
}

// Powers of σ/r: s^7 and s^13 of the pairs inside the cutoff, for their forces.
void formForcePowers(InsidePairs& inside) {
    const auto in = static_cast<std::size_t>(inside.count);
    argon::powers7And13(std::span<const double>(inside.s, in), std::span(inside.s7, in),
                        std::span(inside.s13, in));
}

// U(r) of every pair, from s^6 and s^12 of every pair.
template <bool kFma>
void formPairEnergies(StepPairs& pairs, const ParticleState& state, const PairTable& table) {
    argon::powers6And12(std::span<const double>(pairs.s, kPairCount), std::span(pairs.s6),
                        std::span(pairs.s12));
    formPairParameter(pairs.energyScale, state,
                      [&](int a, int b) { return stored(table[a][b].energyScale); });
    for (int p = 0; p < kPairCount; ++p) {
        const DoubleDouble u =
            pair_shortcuts::pairEnergyApprox<kFma>(pairs.s12[p], pairs.s6[p], pairs.energyScale[p]);
        pairs.energyHi[p] = u.hi;
        if constexpr (kExtendedArithmetic) {
            pairs.energyLo[p] = u.lo;
        }
    }
}

// H and the components H dx / r, H dy / r, H dz / r of every pair inside the cutoff.
template <bool kFma>
void formPairForces(InsidePairs& inside, const ParticleState& state, const PairTable& table) {
    const int count = inside.count;
    for (int m = 0; m < count; ++m) {
        const PairParameters& pair = parametersOf(table, state, inside.pair[m]);
        inside.forceHi[m] = pair.forceScaleHi;
        inside.forceLo[m] = pair.forceScaleLo;
    }
    formEach(
        inside.h, count,
        [&](int m) {
            return pair_shortcuts::pairDerivativeOrNaN<kFma>(inside.s13[m], inside.s7[m],
                                                             inside.forceHi[m], inside.forceLo[m]);
        },
        [&](int m) {
            return pairDerivative(inside.s13[m], inside.s7[m],
                                  parametersOf(table, state, inside.pair[m]).forceScale);
        });
    if constexpr (!kExtendedArithmetic) {
        for (int m = 0; m < count; ++m) {
            inside.fx[m] = stored(forceComponent(inside.h[m], inside.dx[m], inside.r[m]));
            inside.fy[m] = stored(forceComponent(inside.h[m], inside.dy[m], inside.r[m]));
            inside.fz[m] = stored(forceComponent(inside.h[m], inside.dz[m], inside.r[m]));
        }
    }
}

// f_j += H d / r and f_k -= H d / r along one axis. In double arithmetic H d / r is a double,
// formed for every pair in a vector loop (q); in extended arithmetic it keeps 64 bits until it
// joins the sums, so it is formed here, once for both. Sums on other atoms run beside these, so
// the x87 unit's trips through memory cost little here, unlike in the single sum of the energy.
void addPairForce(double& onJ, double& onK, double h, double d, double r, double q) {
    if constexpr (kExtendedArithmetic) {
        const Wide component = forceComponent(h, d, r);
        onJ = stored(onJ + component);
        onK = stored(onK - component);
    } else {
        onJ = onJ + q;
        onK = onK - q;
    }
}

// The pair forces on atoms j and k, pair by pair in the order of the loop.
void addPairForces(ParticleState& state, const InsidePairs& inside) {
    for (int m = 0; m < inside.count; ++m) {
        const int j = kPairs.j[inside.pair[m]];
        const int k = kPairs.k[inside.pair[m]];
        const double h = inside.h[m];  // H < 0 below the minimum: atom j is pushed away from k
        const double r = inside.r[m];
        addPairForce(state.fx[j], state.fx[k], h, inside.dx[m], r, inside.fx[m]);
        addPairForce(state.fy[j], state.fy[k], h, inside.dy[m], r, inside.fy[m]);
        addPairForce(state.fz[j], state.fz[k], h, inside.dz[m], r, inside.fz[m]);
    }
}

// The pairs whose energies are added in one go before their sums are checked.
constexpr int kSumChunk = 32;

// The first pair in [from, end) whose sum running[p + 1] = running[p] + U_p, taken with the
// leading part of U_p, the shortcut does not settle as the formula's, or end. A vector loop; in
// double arithmetic every such sum is the formula's already.
int firstUnsettledSum(const double* running, const StepPairs& pairs, int from, int end) {
    if constexpr (!kExtendedArithmetic) {
        return end;
    } else {
        std::int64_t unsettled[kSumChunk];
        std::int64_t count = 0;
        for (int p = from; p < end; ++p) {
            unsettled[p - from] =
                pair_shortcuts::sumSettles(running[p], {pairs.energyHi[p], pairs.energyLo[p]},
                                           running[p + 1])
                    ? 0
                    : 1;
            count += unsettled[p - from];
        }
        for (int p = from; count != 0 && p < end; ++p) {
            if (unsettled[p - from] != 0) {
                return p;
            }
        }
        return end;
    }
}

// The potential energy of every pair, added in the order of the loop, J. The chain of additions
// is the one serial part of the step, so it runs alone: a chunk of pairs at a time with the
// leading parts of the pair energies, which are the sums in double arithmetic and almost always
// in extended arithmetic too. The checks of a chunk then form a vector loop; a sum they do not
// settle is set from the formula, and the chain resumes after it.
double sumPairEnergies(const StepPairs& pairs, const ParticleState& state, const PairTable& table) {
    double running[kPairCount + 1];  // running[p]: the sum before pair p, J
    running[0] = 0.0;
    for (int start = 0; start < kPairCount; start += kSumChunk) {
        const int end = std::min(start + kSumChunk, kPairCount);
        for (int from = start; from < end;) {
            for (int p = from; p < end; ++p) {
                running[p + 1] = running[p] + pairs.energyHi[p];
            }
            const int p = firstUnsettledSum(running, pairs, from, end);
            if (p < end) {
                running[p + 1] =
                    stored(running[p] + pairEnergy(pairs.s12[p], pairs.s6[p],
                                                   parametersOf(table, state, p).energyScale));
            }
            from = p + 1;
        }
    }
    return running[kPairCount];
}

// The whole evaluation, with the exact products taken from FMA or from Dekker's split and the
// pair lists packed with AVX2 or in plain code; the potential energy, and what only it needs
// (every pair's r, s, s^6 and s^12), where asked for (NaN otherwise).
template <bool kFma, bool kAvx2>
double pairForces(ParticleState& state, const Cell& cell, const RunParameters& params,
                  const PairTable& table, PotentialEnergy energy) {
    StepPairs pairs;
    InsidePairs inside;
    formSeparations(pairs, state, cell);
    if (energy == PotentialEnergy::summed) {
        formPairParameter(pairs.sigma, state, [&](int a, int b) { return table[a][b].sigma; });
        formDistancesAndRatios<kFma>(pairs, kPairCount);
        listInsidePairs<kAvx2>(pairs, params.cutoff, inside);
    } else {
        listInsidePairsFromCandidates<kFma, kAvx2>(pairs, state, table, params.cutoff, inside);
    }
    formForcePowers(inside);
    formPairForces<kFma>(inside, state, table);
    addPairForces(state, inside);
    if (energy == PotentialEnergy::notNeeded) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    formPairEnergies<kFma>(pairs, state, table);
    return sumPairEnergies(pairs, state, table);
}

// The vector loops compiled twice: for processors with AVX2 and FMA, chosen at run time, and for
// the build's target. flatten inlines every formula, so that all of it follows the function's
// target. Both give the same bits: the shortcuts use only exact products and correctly rounded
// operations.
#if defined(__x86_64__) && !defined(__FP_FAST_FMA)
constexpr bool kPortableHasFma = false;
[[gnu::target("avx2,fma"), gnu::flatten]] double pairForcesAvx2(ParticleState& state,
                                                                const Cell& cell,
                                                                const RunParameters& params,
                                                                const PairTable& table,
                                                                PotentialEnergy energy) {
    return pairForces<true, true>(state, cell, params, table, energy);
}

bool processorHasAvx2AndFma() {
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return has;
}
#else
#ifdef __FP_FAST_FMA
constexpr bool kPortableHasFma = true;
#else
constexpr bool kPortableHasFma = false;
#endif
double pairForcesAvx2(ParticleState&, const Cell&, const RunParameters&, const PairTable&,
                      PotentialEnergy) {
    return 0.0;
}

bool processorHasAvx2AndFma() {
    return false;
}
#endif

[[gnu::flatten]] double pairForcesPortable(ParticleState& state, const Cell& cell,
                                           const RunParameters& params, const PairTable& table,
                                           PotentialEnergy energy) {
    return pairForces<kPortableHasFma, false>(state, cell, params, table, energy);
}

}  // namespace

double computeForces(ParticleState& state, const SpeciesTable& species, const Cell& cell,
                     const RunParameters& params, PotentialEnergy energy, VectorUnits units) {
    PairTable table;
    for (int a = 0; a < kSpeciesCount; ++a) {
        for (int b = 0; b < kSpeciesCount; ++b) {
            table[a][b] = combineSpecies(species, a, b);
        }
    }
    state.fx.fill(0.0);
    state.fy.fill(0.0);
    state.fz.fill(0.0);
    return units == VectorUnits::best && processorHasAvx2AndFma()
               ? pairForcesAvx2(state, cell, params, table, energy)
               : pairForcesPortable(state, cell, params, table, energy);
}

double normalisePotential(double energy, const RunParameters& params) {
    return stored(Wide(energy) * params.avogadro * kInverseAtomCount);
}
