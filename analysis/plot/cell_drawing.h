#pragma once

#include <cstddef>
#include <string>

#include "analysis/compute/cell.h"
#include "analysis/plot/gnuplot_script.h"

// What the pictures of the atoms share: the cell's edges, the view of it, and the atoms drawn as
// spheres.

// gnuplot's view, degrees: tilted from looking straight down, then turned about z.
inline constexpr double kViewTilt = 60.0;
inline constexpr double kViewTurn = 30.0;

// The data block $cell: the twelve edges of the cell, each its own data set, so that splot draws
// no mesh between them.
std::string cellBlock(const Edges& edge);

// The axes of the cell, the view on it and the spheres' fill. The ticks of y and z start one step
// from 0, so that no two labels meet at the corners the axes share.
std::string cellView(const Edges& edge);

// One frame's atoms (x y z per atom, Å, in the cell) as spheres of diameter `diameter` (Å), the
// farthest first so that nearer ones cover them: per atom a dark rim, a body whose colour fades
// with depth, and a highlight. Rows "x y z radius colour" for kSpheresStyle.
void addSpheres(DataBlock& block, const double* xyz, std::size_t atoms, const Edges& edge,
                double diameter);

// Circles in 3D take their radius in units of x: with the axes equal, that is Å.
inline constexpr const char* kSpheresStyle = "using 1:2:3:4:5 with circles lc rgb variable";
inline constexpr const char* kCellStyle = "with lines lc rgb 'black' lw 1";
