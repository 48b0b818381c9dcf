#include "analysis/position_file.h"

#include "analysis/sample_files.h"
#include "analysis/text_input.h"

namespace {

constexpr std::size_t kHeaderLines = 3;

std::vector<std::string_view> wordsExpected(std::string_view line, std::size_t count,
                                            std::string_view shape, std::string_view file,
                                            std::size_t number) {
    auto words = splitWords(line);
    if (words.size() != count) {
        failAt(file, number, "expected " + std::string(shape) + ", found " + quoted(line));
    }
    return words;
}

}  // namespace

PositionFile parsePositionFile(std::string_view text, std::string_view file) {
    const TextLines split = splitLines(text);
    const auto& lines = split.lines;
    PositionFile p;
    p.incompleteLastLine = split.incompleteLastLine;
    const auto header = [&](std::size_t i) {
        if (i >= lines.size()) {
            failAt(file, i + 1, "the three-line header ends early");
        }
        return lines[i];
    };

    const auto counts = wordsExpected(header(0), 3, "\"1 <atoms> <frames>\"", file, 1);
    if (parseInteger(counts[0], file, 1) != 1) {
        failAt(file, 1, "expected \"1 <atoms> <frames>\", found " + quoted(lines[0]));
    }
    p.atomCount = parseInteger(counts[1], file, 1);
    p.plannedFrames = parseInteger(counts[2], file, 1);
    if (p.atomCount < 1 || p.plannedFrames < 1) {
        failAt(file, 1, "the atom and frame counts must be positive, found " + quoted(lines[0]));
    }

    const auto edges = wordsExpected(header(1), 3, "the cell edges \"Lx Ly Lz\"", file, 2);
    for (std::size_t axis = 0; axis < 3; ++axis) {
        p.edgeText[axis] = edges[axis];
        p.edge[axis] = parseNumber(edges[axis], file, 2);
        if (p.edge[axis] <= 0.0) {
            failAt(file, 2, "a cell edge must be positive, found " + quoted(lines[1]));
        }
    }

    const auto times = wordsExpected(header(2), 2, "\"<start> <interval>\" in ps", file, 3);
    p.startTime = parseNumber(times[0], file, 3);
    p.frameInterval = parseNumber(times[1], file, 3);
    if (p.frameInterval <= 0.0) {
        failAt(file, 3, "the interval between frames must be positive, found " + quoted(lines[2]));
    }

    const std::size_t atoms = static_cast<std::size_t>(p.atomCount);
    const std::size_t maxLines = kHeaderLines + static_cast<std::size_t>(p.plannedFrames) * atoms;
    if (lines.size() > maxLines) {
        failAt(file, maxLines + 1,
               "more frames than the " + std::to_string(p.plannedFrames) +
                   " that the header announces");
    }
    p.atomLines.reserve(lines.size() - kHeaderLines);
    for (std::size_t i = kHeaderLines; i < lines.size(); ++i) {
        const auto xyz = wordsExpected(lines[i], 3, "an atom's \"x y z\"", file, i + 1);
        for (auto word : xyz) {
            parseNumber(word, file, i + 1);
        }
        p.atomLines.push_back(std::string(xyz[0]) + ' ' + std::string(xyz[1]) + ' ' +
                              std::string(xyz[2]));
    }
    p.frameCount = p.atomLines.size() / atoms;
    p.cutOffLines = p.atomLines.size() % atoms;
    p.atomLines.resize(p.frameCount * atoms);
    return p;
}

double frameTime(const PositionFile& positions, std::size_t frame) {
    return (positions.startTime + static_cast<double>(frame) * positions.frameInterval) * kFsPerPs;
}
