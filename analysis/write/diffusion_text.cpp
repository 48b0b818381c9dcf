#include "analysis/write/diffusion_text.h"

#include "analysis/compute/equilibration.h"
#include "analysis/formatted.h"

namespace {

// "D = <d> ± <error> Å²/ps = <d> ± <error> m²/s" after `lead`: D to `digits` significant digits,
// its error to two, with their trailing zeros where `keepZeros`.
std::string diffusionLine(const char* lead, double d, double error, int digits, bool keepZeros) {
    constexpr double si = kSquareMetresPerSecondPerSquareAngstromPerPs;
    if (keepZeros) {
        return formatted("%s%#.*g ± %#.2g Å²/ps = %#.*g ± %#.2g m²/s", lead, digits, d, error,
                         digits, d * si, error * si);
    }
    return formatted("%s%.*g ± %.2g Å²/ps = %.*g ± %.2g m²/s", lead, digits, d, error, digits,
                     d * si, error * si);
}

// Why there is no D from the averaged MSD, in one line.
std::string noAveragedLine(const MsdAverage& m) {
    return "no diffusion coefficient from the MSD averaged over every time origin: " +
           noDiffusionReason(m);
}

void addAveragedLines(std::vector<std::string>& lines, const MsdAverage& m,
                      const std::optional<DiffusionFit>& fit) {
    if (!fit) {
        lines.push_back(noAveragedLine(m));
        return;
    }
    lines.push_back(diffusionLine("D = ", fit->d, fit->dError, 3, true));
    lines.push_back(formatted(
        "from the MSD of position.dat averaged over every time origin from %g ps on (t_eq = "
        "%g ps: the hot start left out), fitted over lags %g to %g ps (%zu lags): from %g times "
        "the velocity memory τ = D / <v_x²> = %.3g ps, where the MSD has become linear, to "
        "half the frames from the first origin",
        m.firstOriginTime, kEquilibrationTime, lagTime(m, fit->first), lagTime(m, fit->last),
        fit->last - fit->first + 1, kMemoryTimes, fit->memoryTime));
    lines.push_back(formatted(
        "error: standard deviation of the %zu atoms' own D (each from its own averaged MSD "
        "over the same lags) / √%zu, the atoms taken as independent estimates; tested against "
        "the scatter of D over 1000 runs of the simulation from other random placements, "
        "which it matches (docs/report.md)",
        m.atomCount, m.atomCount));
}

void addSingleOriginLines(std::vector<std::string>& lines, const MsdFile& msd,
                          const std::optional<SingleOriginFit>& fit) {
    const auto& s = msd.samples;
    if (s.empty()) {
        lines.push_back("msd.dat: no samples");
    } else {
        lines.push_back(formatted("msd.dat: %zu samples from %g to %g ps", s.size(),
                                  picoseconds(s.front().time), picoseconds(s.back().time)));
    }
    if (!fit) {
        lines.push_back(
            formatted("no diffusion coefficient: no run of %zu or more samples where "
                      "the local slope of log MSD against log t is within %g of 1",
                      kMinimumFitPoints, kDiffusiveSlopeTolerance));
        return;
    }
    lines.push_back(
        formatted("fit window: %g to %g ps, %zu points, where the local slope of log "
                  "MSD against log t is within %g of 1",
                  picoseconds(s[fit->first].time), picoseconds(s[fit->last].time),
                  fit->last - fit->first + 1, kDiffusiveSlopeTolerance));
    lines.push_back(
        formatted("MSD slope: %.5g ± %.2g Å²/ps (least-squares standard error; it takes "
                  "successive samples as independent, which they are not, so the "
                  "true uncertainty is larger)",
                  fit->line.slope, fit->line.slopeError));
    lines.push_back(diffusionLine("D = slope / 6 = ", diffusionFromSlope(fit->line.slope),
                                  diffusionFromSlope(fit->line.slopeError), 5, false));
}

}  // namespace

std::string noDiffusionReason(const MsdAverage& m) {
    if (m.frames == 0) {
        return formatted(
            "the run is too short for D: it has no frames from t_eq = %g ps on, where the "
            "averages start",
            kEquilibrationTime);
    }
    const double length = m.firstOriginTime + static_cast<double>(m.frames - 1) * m.lagInterval;
    const auto needs = whatDiffusionNeeds(m);
    if (!needs && m.msd.size() < 3) {
        return formatted(
            "the run is too short for D: it is %g ps long, too few frames after t_eq = %g ps to "
            "tell how long the atoms remember their velocities",
            length, kEquilibrationTime);
    }
    if (!needs) {
        return "the atoms do not spread out over the second half of the lags: there is no "
               "diffusion to measure";
    }
    if (needs->runLength > length) {
        return formatted(
            "the run is too short for D: it is %g ps long, and D needs about %.3g ps here (a "
            "line through at least %zu lags of the MSD from %g memory times, τ = %.3g ps, on, "
            "which reach half the frames after t_eq = %g ps)",
            length, needs->runLength, kMinimumWindowLags, kMemoryTimes, needs->memoryTime,
            kEquilibrationTime);
    }
    if (m.atomCount < 2) {
        return "one atom gives no spread to estimate D's error from";
    }
    return "the MSD averaged over every time origin does not rise over its fit window: there is "
           "no diffusion to measure";
}

std::string diffusionSummary(const MsdAverage& average, const std::optional<DiffusionFit>& fit) {
    if (!fit) {
        return noAveragedLine(average);
    }
    return diffusionLine("D = ", fit->d, fit->dError, 3, true) +
           formatted(", from time origins at %g ps on (diffusion.txt)", average.firstOriginTime);
}

std::vector<std::string> diffusionLines(const MsdAverage& average,
                                        const std::optional<DiffusionFit>& fit, const MsdFile& msd,
                                        const std::optional<SingleOriginFit>& singleOrigin) {
    std::vector<std::string> lines;
    addAveragedLines(lines, average, fit);
    lines.push_back(
        "for comparison, the single-origin fit of msd.dat (the placement its only time origin):");
    addSingleOriginLines(lines, msd, singleOrigin);
    return lines;
}
