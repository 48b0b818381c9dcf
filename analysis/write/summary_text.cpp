#include "analysis/write/summary_text.h"

#include "analysis/formatted.h"

namespace {

std::string incompleteNote(const char* file) {
    return formatted(
        "%s: the last line has no line end (the run stopped while writing it); "
        "it is left out",
        file);
}

}  // namespace

std::vector<std::string> runSummary(const PositionFile& p, const EnergyFile& energy,
                                    const MsdFile& msd) {
    std::vector<std::string> lines;
    lines.push_back(
        formatted("position.dat: %zu of %ld frames of %ld atoms, cell %s x %s x %s Å, "
                  "a frame every %g ps",
                  p.frameCount, p.plannedFrames, p.atomCount, p.edgeText[0].c_str(),
                  p.edgeText[1].c_str(), p.edgeText[2].c_str(), p.clock.interval));
    if (p.cutOffLines != 0) {
        lines.push_back(formatted(
            "position.dat: the run stopped while writing frame %zu, so its %zu of %ld atom "
            "lines are left out",
            p.frameCount + 1, p.cutOffLines, p.atomCount));
    }
    if (p.incompleteLastLine) {
        lines.push_back(incompleteNote("position.dat"));
    }
    if (energy.incompleteLastLine) {
        lines.push_back(incompleteNote("energy.dat"));
    }
    if (msd.incompleteLastLine) {
        lines.push_back(incompleteNote("msd.dat"));
    }
    // A sample is taken with every frame, so the header's frame count is the planned sample count.
    const auto planned = static_cast<std::size_t>(p.plannedFrames);
    if (p.frameCount < planned || energy.samples.size() < planned || msd.samples.size() < planned) {
        lines.push_back(
            formatted("the run stopped early: %zu frames, %zu energy samples and %zu MSD "
                      "samples of the %zu planned are reported",
                      p.frameCount, energy.samples.size(), msd.samples.size(), planned));
    }
    return lines;
}

std::string shortFileNote(const ReportedCounts& counts, std::size_t energyLines, std::size_t frames,
                          std::size_t msdLines) {
    return formatted(
        "%s is shorter than the other two files, as a full disk leaves it (%zu energy lines, %zu "
        "frames, %zu MSD lines): the %zu samples all three hold are reported",
        counts.shortFile.c_str(), energyLines, frames, msdLines, counts.msd);
}
