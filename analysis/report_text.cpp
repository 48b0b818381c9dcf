#include "analysis/report_text.h"

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
                  p.edgeText[1].c_str(), p.edgeText[2].c_str(), p.frameInterval));
    lines.push_back(formatted("energy.dat: %zu samples", energy.samples.size()));
    lines.push_back(formatted("msd.dat: %zu samples", msd.samples.size()));
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

std::vector<std::string> diffusionReport(const MsdFile& msd,
                                         const std::optional<DiffusionFit>& fit) {
    std::vector<std::string> lines;
    const auto& s = msd.samples;
    if (s.empty()) {
        lines.push_back("msd.dat: no samples");
    } else {
        lines.push_back(formatted("msd.dat: %zu samples from %g to %g ps", s.size(),
                                  s.front().time / kFsPerPs, s.back().time / kFsPerPs));
    }
    if (!fit) {
        lines.push_back(
            formatted("no diffusion coefficient: no run of %zu or more samples where "
                      "the local slope of log MSD against log t is within %g of 1",
                      kMinimumFitPoints, kDiffusiveSlopeTolerance));
        return lines;
    }
    lines.push_back(
        formatted("fit window: %g to %g ps, %zu points, where the local slope of log "
                  "MSD against log t is within %g of 1",
                  s[fit->first].time / kFsPerPs, s[fit->last].time / kFsPerPs,
                  fit->last - fit->first + 1, kDiffusiveSlopeTolerance));
    lines.push_back(
        formatted("MSD slope: %.5g ± %.2g Å²/ps (least-squares standard error; it takes "
                  "successive samples as independent, which they are not, so the "
                  "true uncertainty is larger)",
                  fit->slope, fit->slopeError));
    const double d = diffusionCoefficient(fit->slope);
    const double error = diffusionCoefficient(fit->slopeError);
    constexpr double si = kSquareMetresPerSecondPerSquareAngstromPerPs;
    lines.push_back(formatted("D = slope / 6 = %.5g ± %.2g Å²/ps = %.5g ± %.2g m²/s", d, error,
                              d * si, error * si));
    return lines;
}
