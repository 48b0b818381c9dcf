#pragma once

#include <string>

#include "analysis/compute/cell.h"
#include "analysis/plot/gnuplot_script.h"

// What the pictures of the atoms share: the cell's edges, the view of it, and how atoms are drawn.

// The data block $cell: the twelve edges of the cell, each its own data set, so that splot draws
// no mesh between them.
std::string cellBlock(const Edges& edge);

// The axes of the cell and the view on it.
std::string cellView(const Edges& edge);

// The data rows of one frame's atoms (x y z per atom, Å), as position.dat gives them: 6 digits.
void addAtoms(DataBlock& block, const double* xyz, std::size_t atoms);

// The atoms drawn a little below their size (σ = 3.4 Å) would hide each other; points suffice.
inline constexpr const char* kAtomsStyle = "with points pt 7 ps 2 lc rgb '#3060c0'";
inline constexpr const char* kCellStyle = "with lines lc rgb 'black' lw 1";
