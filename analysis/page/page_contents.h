#pragma once

#include <string>

#include "analysis/compute/unwrap.h"
#include "analysis/page/report_page.h"

// What the report gives its page beyond the lines it prints (part of the report's library, not
// of the page's, which knows nothing of runs).

// What the simulation does that its files do not record, in a line: the potential, the steps and
// the thermostat, from the simulation's own parameters.
std::string simulatedRunLine();

// The viewer's frames are every stride-th of the run's, so that the page holds at most this many
// (500 frames of 50 atoms: 400 kB of base64), and at most this many atom positions over them (3.2
// MB of base64), which leaves a run of many atoms fewer frames.
inline constexpr std::size_t kMostViewerFrames = 500;
inline constexpr std::size_t kMostViewerPositions = 200'000;
std::size_t viewerStride(std::size_t frames, std::size_t atoms);

// Every viewerStride-th frame of the trajectory, brought back into the cell, for the view of the
// atoms; the spheres σ across. Needs a frame.
ViewerFrames viewerFrames(const UnwrappedTrajectory& trajectory);
