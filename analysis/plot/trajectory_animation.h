#pragma once

#include <cstddef>

#include "analysis/compute/picture_frames.h"
#include "analysis/compute/unwrap.h"
#include "analysis/plot/gnuplot_script.h"

// Each atom of the animation trails its path over this many frames before the picture's (1.6 ps
// of the program's run), drawn through every kTrailStep-th of them.
inline constexpr std::size_t kTrailFrames = 40;
inline constexpr std::size_t kTrailStep = 2;
// Trail points over all the pictures at most, which bounds the script that holds them; a run of
// many atoms has shorter trails, or none.
inline constexpr std::size_t kMostTrailPoints = 400'000;

// trajectory.gif: the atoms moving in the cell, one picture for each frame the animation shows
// (`frames`, chosen from `trajectory`), each atom a sphere of diameter σ shaded by depth with
// the trail of its recent path, unwrapped so that it never jumps across the cell, and the time
// in each picture. The animated terminal must come last: the script's end closes its output.
Picture animationPicture(const PictureFrames& frames, const UnwrappedTrajectory& trajectory);
