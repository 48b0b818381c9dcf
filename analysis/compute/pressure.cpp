#include "analysis/compute/pressure.h"

#include <algorithm>
#include <cmath>

#include "analysis/compute/equilibration.h"

PressureAnalysis preparePressure(std::size_t atomCount, const Edges& edge, const FrameClock& clock,
                                 std::size_t mostFrames) {
    PressureAnalysis p;
    p.atomCount = atomCount;
    p.edge = edge;
    p.force = runPairForce();
    p.firstFrame = firstSettledFrame(clock, mostFrames);
    p.fromTime = frameTime(clock, p.firstFrame);
    const double pairsPerFrame =
        static_cast<double>(atomCount) * (static_cast<double>(atomCount) - 1.0) / 2.0;
    const auto settled = static_cast<double>(mostFrames - p.firstFrame);
    p.frameStride = std::max<std::size_t>(
        1, static_cast<std::size_t>(std::ceil(settled * pairsPerFrame / kMostVirialPairs)));
    return p;
}

void addFrame(PressureAnalysis& p, std::size_t frame, std::span<const double> xyz) {
    if (frame < p.firstFrame || (frame - p.firstFrame) % p.frameStride != 0) {
        return;
    }
    p.frames.push_back(frame);
    p.virials.push_back(pairVirial(xyz, p.edge, p.force));
}

std::vector<double> concludePressure(const PressureAnalysis& p,
                                     std::span<const double> temperature) {
    std::vector<double> pressure;
    for (std::size_t i = 0; i < p.frames.size() && p.frames[i] < temperature.size(); ++i) {
        pressure.push_back(pressureFromVirial(static_cast<double>(p.atomCount), p.edge,
                                              temperature[p.frames[i]], p.virials[i],
                                              p.force.boltzmann));
    }
    return pressure;
}
