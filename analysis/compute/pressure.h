#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "analysis/compute/cell.h"
#include "analysis/compute/virial_pressure.h"

// The pressure of the run at each frame from t_eq on, from the virial of its own pair forces
// (compute/virial_pressure.h) and the temperature that energy.dat gives for the same sample.
// The frames stream past (preparePressure, addFrame, concludePressure): each frame's pair virial
// is kept, a number a frame, and joined with its temperature once energy.dat's lines are known
// to be the run's.

// Pair forces evaluated at most, over all frames: a longer or larger run takes every s-th frame,
// with s the smallest stride that keeps within it (a run of 50 atoms keeps every frame of
// 80,000).
inline constexpr double kMostVirialPairs = 1e8;

struct PressureAnalysis {
    std::size_t atomCount = 0;
    Edges edge{};  // Å
    RunPairForce force;
    std::size_t firstFrame = 0;  // the first frame at or after t_eq
    std::size_t frameStride = 1;
    double fromTime = 0.0;            // ps, of the first frame
    std::vector<std::size_t> frames;  // each frame taken
    std::vector<double> virials;      // J, its pair virial W
};

// For frames of `atomCount` atoms in a cell of `edge`, taken by `clock`, of which at most
// `mostFrames` will come.
PressureAnalysis preparePressure(std::size_t atomCount, const Edges& edge, const FrameClock& clock,
                                 std::size_t mostFrames);

// Takes the pair virial of frame `frame` (x y z per atom, Å, as position.dat gives them) when it
// is one of the frames taken.
void addFrame(PressureAnalysis& analysis, std::size_t frame, std::span<const double> xyz);

// The pressure of each frame taken, Pa, with T (K) from `temperature`, which holds energy.dat's
// temperature of each sample (line f for frame f; the simulation measures both in the same
// step). Frames beyond `temperature` are left out.
std::vector<double> concludePressure(const PressureAnalysis& analysis,
                                     std::span<const double> temperature);
