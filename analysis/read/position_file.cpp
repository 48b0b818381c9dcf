#include "analysis/read/position_file.h"

#include <cmath>
#include <vector>

#include "analysis/formatted.h"

namespace {

std::vector<std::string_view> wordsExpected(std::string_view line, std::size_t count,
                                            std::string_view shape, const LineReader& in) {
    auto words = splitWords(line);
    if (words.size() != count) {
        failAt(in.name(), in.lineNumber(),
               "expected " + std::string(shape) + ", found " + quoted(line));
    }
    return words;
}

std::string_view headerLine(LineReader& in) {
    const auto line = in.next();
    if (!line) {
        failAt(in.name(), in.lineNumber() + 1, "the three-line header ends early");
    }
    return *line;
}

}  // namespace

PositionFile readPositionHeader(LineReader& in) {
    const std::string& file = in.name();
    PositionFile p;

    const std::string_view first = headerLine(in);
    const auto counts = wordsExpected(first, 3, "\"1 <atoms> <frames>\"", in);
    if (parseInteger(counts[0], file, 1) != 1) {
        failAt(file, 1, "expected \"1 <atoms> <frames>\", found " + quoted(first));
    }
    p.atomCount = parseInteger(counts[1], file, 1);
    p.plannedFrames = parseInteger(counts[2], file, 1);
    if (p.atomCount < 1 || p.plannedFrames < 1) {
        failAt(file, 1, "the atom and frame counts must be positive, found " + quoted(first));
    }
    // Divided rather than multiplied, so that no count can wrap around.
    if (p.atomCount > kMostAtoms || p.plannedFrames > kMostFrames ||
        p.atomCount > kMostAtomPositions / p.plannedFrames) {
        failAt(file, 1,
               "more than this report reads (at most " + std::to_string(kMostAtoms) + " atoms, " +
                   std::to_string(kMostFrames) + " frames and " +
                   std::to_string(kMostAtomPositions) + " atom positions), found " + quoted(first));
    }

    const std::string_view second = headerLine(in);
    const auto edges = wordsExpected(second, 3, "the cell edges \"Lx Ly Lz\"", in);
    for (std::size_t axis = 0; axis < 3; ++axis) {
        p.edgeText[axis] = edges[axis];
        p.edge[axis] = parseNumber(edges[axis], file, 2);
        if (p.edge[axis] <= 0.0) {
            failAt(file, 2, "a cell edge must be positive, found " + quoted(second));
        }
        if (p.edge[axis] > kLongestEdge) {
            failAt(
                file, 2,
                formatted("a cell edge longer than %g Å, which no run has, found ", kLongestEdge) +
                    quoted(second));
        }
    }

    const std::string_view third = headerLine(in);
    const auto times = wordsExpected(third, 2, "\"<start> <interval>\" in ps", in);
    p.clock.start = parseNumber(times[0], file, 3);
    p.clock.interval = parseNumber(times[1], file, 3);
    if (p.clock.interval <= 0.0) {
        failAt(file, 3, "the interval between frames must be positive, found " + quoted(third));
    }
    // Frame times grow with the frame, so the first and last bound them all.
    const auto last = static_cast<std::size_t>(p.plannedFrames - 1);
    if (!std::isfinite(femtoseconds(frameTime(p.clock, 0))) ||
        !std::isfinite(femtoseconds(frameTime(p.clock, last)))) {
        failAt(file, 3,
               "the frame times in fs lie beyond the range of numbers, found " + quoted(third));
    }
    return p;
}

void readPositionFrames(LineReader& in, PositionFile& p, std::size_t handedOver,
                        const FrameConsumer& consume) {
    const auto atoms = static_cast<std::size_t>(p.atomCount);
    const auto lastLine = kPositionHeaderLines + static_cast<std::size_t>(p.plannedFrames) * atoms;
    std::vector<double> frame;
    frame.reserve(3 * atoms);
    std::size_t lineInFrame = 0;
    while (const auto line = in.next()) {
        if (in.lineNumber() > lastLine) {
            failAt(in.name(), in.lineNumber(),
                   "more frames than the " + std::to_string(p.plannedFrames) +
                       " that the header announces");
        }
        const auto words = wordsExpected(*line, 3, "an atom's \"x y z\"", in);
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const double x = parseNumber(words[axis], in.name(), in.lineNumber());
            if (!(x >= 0.0 && x <= p.edge[axis] * (1.0 + kWrapSlack))) {
                failAt(in.name(), in.lineNumber(),
                       formatted("outside the cell, which runs from 0 to %s Å along %c, found ",
                                 p.edgeText[axis].c_str(), "xyz"[axis]) +
                           quoted(*line));
            }
            frame.push_back(x);
        }
        if (++lineInFrame == atoms) {
            if (p.frameCount < handedOver) {
                consume(p.frameCount, frame);
            }
            ++p.frameCount;
            frame.clear();
            lineInFrame = 0;
        }
    }
    p.cutOffLines = lineInFrame;
    p.incompleteLastLine = in.incompleteLastLine();
}
