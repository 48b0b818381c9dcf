#include "analysis/page/page_contents.h"

#include "analysis/compute/picture_frames.h"
#include "analysis/formatted.h"
#include "analysis/simulated_run.h"

std::string simulatedRunLine() {
    const SimulatedRun run = simulatedRun();
    return formatted(
        "argon-md simulates argon atoms (%g g/mol) with the Lennard-Jones 12-6 potential "
        "(σ = %g Å, ε/k_B = %g K) in a periodic cubic cell: %d steps of %g fs, the velocities "
        "rescaled to %g K every %d steps.",
        run.atomMass, run.sigma, run.wellDepth, run.stepCount, run.timeStep, run.targetTemperature,
        run.rescaleInterval);
}

std::size_t viewerStride(std::size_t frames, std::size_t atoms) {
    return strideWithin(frames, atoms, kMostViewerFrames, kMostViewerPositions);
}

ViewerFrames viewerFrames(const UnwrappedTrajectory& t) {
    const std::size_t frames = frameCount(t);
    const std::size_t stride = viewerStride(frames, t.atomCount);
    ViewerFrames v;
    v.atomCount = t.atomCount;
    v.edge = t.edge;
    v.atomDiameter = simulatedRun().sigma;
    v.firstTime = t.clock.start;
    v.interval = static_cast<double>(stride) * t.clock.interval;
    v.positions.reserve((frames + stride - 1) / stride * 3 * t.atomCount);
    for (std::size_t f = 0; f < frames; f += stride) {
        appendWrappedFrame(v.positions, t, f);
    }
    return v;
}
