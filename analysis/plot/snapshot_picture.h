#pragma once

#include "analysis/compute/picture_frames.h"
#include "analysis/plot/gnuplot_script.h"

// snapshot.png: the atoms of the last frame in the cell, drawn in 3D with its edges, each a
// sphere of the Lennard-Jones diameter σ shaded by its depth.
Picture snapshotPicture(const PictureFrames& frames);
