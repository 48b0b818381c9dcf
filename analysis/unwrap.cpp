#include "analysis/unwrap.h"

#include <cmath>

#include "analysis/formatted.h"

namespace {

// A step longer than this share of the edge is not trusted to be the nearest image.
constexpr double kLargestStepShare = 0.25;
constexpr const char* kAxisNames = "xyz";

}  // namespace

UnwrappedTrajectory startTrajectory(std::size_t atomCount, const std::array<double, 3>& edge,
                                    double startTime, double frameInterval) {
    UnwrappedTrajectory t;
    t.atomCount = atomCount;
    t.edge = edge;
    t.startTime = startTime;
    t.frameInterval = frameInterval;
    t.images.assign(atomCount * 3, 0.0);
    return t;
}

void addFrame(UnwrappedTrajectory& t, std::span<const double> wrapped) {
    const bool first = t.positions.empty();
    if (!first) {
        for (std::size_t i = 0; i < wrapped.size(); ++i) {
            const double edge = t.edge[i % 3];
            const double step = wrapped[i] - t.lastWrapped[i];
            // Whole edges crossed: the nearest image of the step, halves away from zero.
            const double crossed = std::round(step / edge);
            const double nearest = step - crossed * edge;
            if (std::abs(nearest) > kLargestStepShare * edge) {
                throw UnwrapError(formatted(
                    "atom %zu moves %g Å along %c between %g and %g ps, more than a quarter of "
                    "the cell edge: the frames are too far apart to follow it across the faces",
                    i / 3, std::abs(nearest), kAxisNames[i % 3], frameTimePs(t, frameCount(t) - 1),
                    frameTimePs(t, frameCount(t))));
            }
            t.images[i] -= crossed;
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

double frameTimePs(const UnwrappedTrajectory& t, std::size_t frame) {
    return t.startTime + static_cast<double>(frame) * t.frameInterval;
}
