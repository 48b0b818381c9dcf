#include "analysis/compute/unwrap.h"

#include <cmath>

#include "analysis/formatted.h"

namespace {

// A step longer than this share of the edge is not trusted to be the nearest image.
constexpr double kLargestStepShare = 0.25;
constexpr const char* kAxisNames = "xyz";
// A frame short of a line or two holds, from the first atom it lacks on, the atoms that come
// after; a frame short of more is not told apart from atoms that jump.
constexpr std::size_t kMostLinesMissing = 3;

// The lines the new frame lacks, from atom `atom` on: the shift, of at most kMostLinesMissing
// lines, under which each of its atoms from there is followable from the atom that many places
// further on in the frame before, and much nearer to it than to the atom in its own place; 0
// when no shift fits so. A run's atoms step far less than a quarter edge between frames, while
// two atoms lie a quarter edge apart along an axis on average.
std::size_t linesMissing(const UnwrappedTrajectory& t, std::span<const double> wrapped,
                         std::size_t atom) {
    constexpr double kNearer = 16.0;  // in the sum of squared steps
    for (std::size_t missing = 1; missing <= kMostLinesMissing; ++missing) {
        bool fits = atom + missing < t.atomCount;
        double shifted = 0.0;
        double unshifted = 0.0;
        for (std::size_t i = 3 * atom; fits && i + 3 * missing < wrapped.size(); ++i) {
            const double edge = t.edge[i % 3];
            const double step = minimumImage(wrapped[i] - t.lastWrapped[i + 3 * missing], edge);
            const double own = minimumImage(wrapped[i] - t.lastWrapped[i], edge);
            fits = std::abs(step) <= kLargestStepShare * edge;
            shifted += step * step;
            unshifted += own * own;
        }
        if (fits && kNearer * shifted < unshifted) {
            return missing;
        }
    }
    return 0;
}

}  // namespace

UnwrappedTrajectory prepareUnwrapping(std::size_t atomCount, const Edges& edge,
                                      const FrameClock& clock, std::size_t mostFrames) {
    UnwrappedTrajectory t;
    t.atomCount = atomCount;
    t.edge = edge;
    t.clock = clock;
    t.images.assign(atomCount * 3, 0.0);
    t.positions.reserve(mostFrames * atomCount * 3);
    return t;
}

void addFrame(UnwrappedTrajectory& t, std::span<const double> wrapped) {
    const bool first = t.positions.empty();
    if (!first) {
        for (std::size_t i = 0; i < wrapped.size(); ++i) {
            const double edge = t.edge[i % 3];
            const double step = wrapped[i] - t.lastWrapped[i];
            const double nearest = minimumImage(step, edge);
            if (std::abs(nearest) > kLargestStepShare * edge) {
                const std::size_t atom = i / 3;
                const std::size_t missing = linesMissing(t, wrapped, atom);
                if (missing != 0) {
                    throw UnwrapError(
                        formatted("frame %zu is short of %zu line%s: from here on its lines hold "
                                  "the atoms from %zu on",
                                  frameCount(t) + 1, missing, missing == 1 ? "" : "s",
                                  atom + missing),
                        frameCount(t), atom, missing);
                }
                throw UnwrapError(
                    formatted(
                        "atom %zu moves %g Å along %c between %g and %g ps, more than a quarter of "
                        "the cell edge: the frames are too far apart to follow it across the faces",
                        atom, std::abs(nearest), kAxisNames[i % 3],
                        frameTime(t.clock, frameCount(t) - 1), frameTime(t.clock, frameCount(t))),
                    frameCount(t), atom, 0);
            }
            t.images[i] -= edgesCrossed(step, edge);
        }
    }
    t.lastWrapped.assign(wrapped.begin(), wrapped.end());
    for (std::size_t i = 0; i < wrapped.size(); ++i) {
        t.positions.push_back(wrapped[i] + t.images[i] * t.edge[i % 3]);
    }
}

std::size_t frameCount(const UnwrappedTrajectory& t) {
    return t.atomCount == 0 ? 0 : t.positions.size() / (t.atomCount * 3);
}

std::span<const double> frameAt(const UnwrappedTrajectory& t, std::size_t frame) {
    const std::size_t size = t.atomCount * 3;
    return std::span<const double>(t.positions).subspan(frame * size, size);
}
