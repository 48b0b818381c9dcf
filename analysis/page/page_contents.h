#pragma once

#include <string>

#include "analysis/compute/unwrap.h"
#include "analysis/page/report_page.h"

// What the report gives its page beyond the lines it prints (part of the report's library, not
// of the page's, which knows nothing of runs).

// What the simulation does that its files do not record, in a line: the potential, the steps and
// the thermostat, from the simulation's own parameters.
std::string simulatedRunLine();

// Every viewerStride-th frame of the trajectory, brought back into the cell, for the view of the
// atoms; the spheres σ across. Needs a frame.
ViewerFrames viewerFrames(const UnwrappedTrajectory& trajectory);
