#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The frames of "position.dat": a three-line header, then one line "x y z" (Å, wrapped into the
// cell) per atom per frame.
struct PositionFile {
    long atomCount = 0;
    long plannedFrames = 0;               // what the header announces; a stopped run has fewer
    std::array<std::string, 3> edgeText;  // cell edges as written, Å
    std::array<double, 3> edge{};         // Å
    double startTime = 0.0;               // ps
    double frameInterval = 0.0;           // ps
    // One "x y z" per atom per frame, frame after frame, with the numbers as the file writes
    // them so that they reach the trajectory without a second rounding.
    std::vector<std::string> atomLines;
    std::size_t frameCount = 0;  // complete frames only
    // Atom lines of a last frame that the file does not finish. The simulation writes whole
    // lines, so a run stopped while writing a frame leaves some of its lines; they are left out.
    std::size_t cutOffLines = 0;
    bool incompleteLastLine = false;
};

// `file` names the file in messages.
PositionFile parsePositionFile(std::string_view text, std::string_view file);

// Time of frame `frame`, fs.
double frameTime(const PositionFile& positions, std::size_t frame);
