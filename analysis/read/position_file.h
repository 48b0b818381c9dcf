#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <span>
#include <string>

#include "analysis/compute/cell.h"
#include "analysis/read/text_input.h"

// Bounds on what the header of "position.dat" may announce. A run writes 1000 frames of 50
// atoms; the bounds leave room for far longer runs while keeping what the report holds under
// 100 MB: the unwrapped positions as doubles (72 MB at the bound), a frame of text, and the
// energy and MSD samples.
inline constexpr long kMostAtoms = 10'000;  // one frame: 5 × 10^7 pairs for g(r)
inline constexpr long kMostFrames = 100'000;
inline constexpr long kMostAtomPositions = 3'000'000;  // atoms × frames
// Å: a run's cell is 25 Å; g(r)'s bins (0.05 Å to half the edge) and every square of a
// displacement stay bounded and finite below this.
inline constexpr double kLongestEdge = 1000.0;

// The simulation wraps every coordinate into the cell (simulation/integration.cpp, wrap): it
// takes whole edges off, with halves rounded away from zero, which leaves it in [0, L] but for
// the roundings of x/L - 1/2 and of the half added to round it, which take a coordinate a hair
// above 0 to L plus one unit in its last place; none is left below 0
// (analysis/tests/wrap_bound_test.cpp drives the simulation's own step at the faces). position.dat
// prints the coordinates with 6 significant digits, as the header prints L, and that rounding keeps
// their order; L plus a unit in its last place prints as L, or one unit of the sixth digit higher
// where L lies just below a midpoint of that digit: at most 1e-5 of L. A coordinate below 0 or
// beyond L (1 + kWrapSlack) is read from no run.
inline constexpr double kWrapSlack = 1e-5;  // of the edge, beyond it

inline constexpr std::size_t kPositionHeaderLines = 3;

// The header of "position.dat" (three lines), and what its frames held: one line "x y z" (Å,
// wrapped into the cell) per atom per frame.
struct PositionFile {
    long atomCount = 0;
    long plannedFrames = 0;               // what the header announces; a stopped run has fewer
    std::array<std::string, 3> edgeText;  // cell edges as written, Å
    Edges edge{};                         // Å
    FrameClock clock;                     // ps
    std::size_t frameCount = 0;           // complete frames only
    // Atom lines of a last frame that the file does not finish. The simulation writes whole
    // lines, so a run stopped while writing a frame leaves some of its lines; they are left out.
    std::size_t cutOffLines = 0;
    bool incompleteLastLine = false;
};

// Takes each complete frame as it is read: the frame's number (from 0) and its wrapped
// coordinates, x y z of atom 0, then of atom 1, ..., Å. The span is valid during the call only.
using FrameConsumer = std::function<void(std::size_t frame, std::span<const double> xyz)>;

// Reads the header; every frame time it allows is a finite number of fs.
PositionFile readPositionHeader(LineReader& in);

// Reads the frames after the header to the end of the file, handing the first `handedOver` to
// `consume` (all of them are checked and counted), and sets the counts of `positions`. A
// coordinate outside the cell (kWrapSlack) is refused, naming the line.
void readPositionFrames(LineReader& in, PositionFile& positions, std::size_t handedOver,
                        const FrameConsumer& consume);
