#pragma once

#include "analysis/compute/picture_frames.h"
#include "analysis/plot/gnuplot_script.h"

// trajectory.gif: the atoms moving in the cell, one picture for each frame the animation shows.
// The animated terminal must come last: the script's end closes its output.
Picture animationPicture(const PictureFrames& frames);
