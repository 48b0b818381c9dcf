#pragma once

#include <cstddef>
#include <string>

#include "analysis/position_file.h"

// A time in fs that extended-XYZ readers take as a real number: always with a decimal point.
std::string formatFrameTime(double fs);

// The comment line of frame `frame`: periodic cell, per-atom columns and time.
std::string xyzCommentLine(const PositionFile& positions, std::size_t frame);

// The whole trajectory in extended XYZ, one frame per frame of the position file.
std::string formatXyz(const PositionFile& positions);
