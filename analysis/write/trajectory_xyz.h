#pragma once

#include <cstddef>
#include <cstdio>
#include <span>
#include <string>

#include "analysis/read/position_file.h"

// "trajectory.xyz": the frames as extended XYZ, for molecular viewers and Python readers, written
// as they stream past.

// A time in fs that extended-XYZ readers take as a real number: always with a decimal point.
std::string formatFrameTime(double fs);

// The comment line of frame `frame`: periodic cell, per-atom columns and time.
std::string xyzCommentLine(const PositionFile& positions, std::size_t frame);

// Frame `frame` in extended XYZ, its coordinates `xyz` (Å, x y z per atom) appended to `out`.
// They are written as the simulation writes them, in 6 significant digits, so that a frame of a
// run reaches the trajectory with the very digits of position.dat.
void appendXyzFrame(std::string& out, const PositionFile& positions, std::size_t frame,
                    std::span<const double> xyz);

// The trajectory's output, `name` as messages name it, written a frame at a time.
struct XyzWriter {
    std::FILE* stream = nullptr;
    std::string name;
    std::string frameText;  // the frame being written
};

// Writes frame `frame`; OutputError (staging.h) when the write fails, a full disk, say.
void addFrame(XyzWriter& writer, const PositionFile& positions, std::size_t frame,
              std::span<const double> xyz);
