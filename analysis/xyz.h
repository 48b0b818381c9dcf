#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "analysis/position_file.h"

// A time in fs that extended-XYZ readers take as a real number: always with a decimal point.
std::string formatFrameTime(double fs);

// The comment line of frame `frame`: periodic cell, per-atom columns and time.
std::string xyzCommentLine(const PositionFile& positions, std::size_t frame);

// Frame `frame` in extended XYZ, its coordinates `xyz` (Å, x y z per atom) appended to `out`.
// They are written as the simulation writes them, in 6 significant digits, so that a frame of a
// run reaches the trajectory with the very digits of position.dat.
void appendXyzFrame(std::string& out, const PositionFile& positions, std::size_t frame,
                    std::span<const double> xyz);
