#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/compute/cell.h"

// The trajectory followed across the periodic faces, and kept: the MSD over every time origin
// pairs every frame with every later one, and the pictures choose their frames once the count is
// known. Frames come wrapped into the cell; each frame-to-frame step is taken at its minimum
// image, which is right as long as no atom moves half an edge between two frames. A step of more
// than a quarter of an edge is refused, since such frames are too far apart for the nearest image
// to be trusted.
struct UnwrappedTrajectory {
    std::size_t atomCount = 0;
    Edges edge{};  // Å
    FrameClock clock;
    // x y z per atom per frame (frames × atoms × 3), Å: the only storage that grows with the run.
    std::vector<double> positions;
    // Per atom and axis, the last frame as it came (wrapped) and the whole edges added to it, so
    // that each unwrapped coordinate is the wrapped one plus a whole number of edges, exactly,
    // however many faces the atom has crossed.
    std::vector<double> lastWrapped;
    std::vector<double> images;
};

// A step that cannot be followed, by atom `atom` (from 0) into frame `frame` (from 0).
// `linesMissing` is not 0 when the frame looks short of that many lines: from `atom` on, each
// coordinate lies near that of the atom `linesMissing` further on in the frame before.
struct UnwrapError : std::runtime_error {
    UnwrapError(const std::string& what, std::size_t frame, std::size_t atom,
                std::size_t linesMissing)
        : std::runtime_error(what), frame(frame), atom(atom), linesMissing(linesMissing) {}
    std::size_t frame;
    std::size_t atom;
    std::size_t linesMissing;
};

// Room is made at once for `mostFrames`: growing by doubling would, for a moment, take twice it.
UnwrappedTrajectory prepareUnwrapping(std::size_t atomCount, const Edges& edge,
                                      const FrameClock& clock, std::size_t mostFrames);

// Appends one frame of wrapped x y z per atom (atomCount × 3, Å). Throws UnwrapError, naming the
// atom and the time, when an atom steps more than a quarter of an edge along an axis, or naming
// the frame when it looks short of lines.
void addFrame(UnwrappedTrajectory& trajectory, std::span<const double> wrapped);

std::size_t frameCount(const UnwrappedTrajectory& trajectory);

// Frame `frame`, unwrapped: x y z per atom, Å.
std::span<const double> frameAt(const UnwrappedTrajectory& trajectory, std::size_t frame);

// Coordinate `axis` of atom `atom` in frame `frame`, unwrapped, Å.
inline double coordinate(const UnwrappedTrajectory& t, std::size_t frame, std::size_t atom,
                         std::size_t axis) {
    return t.positions[(frame * t.atomCount + atom) * 3 + axis];
}
