#pragma once

#include <array>
#include <cmath>
#include <cstddef>

// The report's geometry of the periodic cell and clock of the frames, each formula once. (The
// simulation's own wrapping, simulation/integration.cpp, rounds differently and stays its own.)

// The sample files give times in fs; the header of position.dat and the reports use ps.
inline constexpr double kFsPerPs = 1000.0;

inline double picoseconds(double fs) {
    return fs / kFsPerPs;
}

inline double femtoseconds(double ps) {
    return ps * kFsPerPs;
}

// The cell's edges along x, y and z, Å.
using Edges = std::array<double, 3>;

// Whole edges in a separation along one axis, halves away from zero: how many faces a step
// crossed between two frames.
inline double edgesCrossed(double separation, double edge) {
    return std::round(separation / edge);
}

// A separation along one axis at its nearest image, Å.
inline double minimumImage(double separation, double edge) {
    return separation - edgesCrossed(separation, edge) * edge;
}

// A coordinate brought back into the cell, [0, edge), Å.
inline double wrappedIntoCell(double coordinate, double edge) {
    return coordinate - edge * std::floor(coordinate / edge);
}

// When the frames were taken: position.dat's header gives the first frame's time and the
// interval, ps.
struct FrameClock {
    double start = 0.0;     // ps
    double interval = 0.0;  // ps
};

// Time of frame `frame` (from 0), ps.
inline double frameTime(const FrameClock& clock, std::size_t frame) {
    return clock.start + static_cast<double>(frame) * clock.interval;
}
