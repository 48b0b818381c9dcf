#include "analysis/msd_rdf_text.h"

#include "analysis/diffusion.h"
#include "analysis/formatted.h"

std::string msdAverageText(const MsdAverage& m) {
    std::string text = "# lag (ps), MSD (Å²) averaged over every time origin, origins averaged\n";
    for (std::size_t k = 0; k < m.msd.size(); ++k) {
        text += formatted("%.9g %.9g %zu\n", lagTime(m, k), m.msd[k], m.origins[k]);
    }
    return text;
}

std::string rdfText(const Rdf& rdf, double fromTime) {
    std::string text = formatted(
        "# r (Å) at the bin centre, g(r) of all pairs at the minimum image over %zu frames from "
        "%g ps\n",
        rdf.frames, fromTime);
    for (std::size_t b = 0; b < rdf.g.size(); ++b) {
        text += formatted("%.9g %.9g\n", binCentre(rdf, b), rdf.g[b]);
    }
    return text;
}

std::vector<std::string> multiOriginReport(const MsdAverage& m,
                                           const std::optional<MultiOriginFit>& fit) {
    std::vector<std::string> lines;
    if (!fit) {
        lines.push_back(formatted(
            "no diffusion coefficient from the MSD averaged over every time origin: lags up to "
            "%g ps hold fewer than %zu lags from %g memory times (D / <v_x²>) on",
            lagTime(m, m.msd.empty() ? 0 : m.msd.size() - 1), kMinimumWindowLags, kMemoryTimes));
    } else {
        constexpr double si = kSquareMetresPerSecondPerSquareAngstromPerPs;
        lines.push_back(formatted("D = %#.3g ± %#.2g Å²/ps = %#.3g ± %#.2g m²/s", fit->d,
                                  fit->dError, fit->d * si, fit->dError * si));
        lines.push_back(formatted(
            "from the MSD averaged over every time origin of position.dat, fitted over lags "
            "%g to %g ps (%zu lags): from %g times the velocity memory τ = D / <v_x²> = %.3g ps, "
            "where the MSD has become linear, to half the run",
            lagTime(m, fit->first), lagTime(m, fit->last), fit->last - fit->first + 1, kMemoryTimes,
            fit->memoryTime));
        lines.push_back(formatted(
            "error: standard deviation of the %zu atoms' own D (each from its own averaged MSD "
            "over the same lags) / √%zu, the atoms taken as independent estimates",
            m.atomCount, m.atomCount));
    }
    lines.push_back(
        "for comparison, the single-origin fit of msd.dat (the placement its only time origin):");
    return lines;
}

std::string firstShellLine(const Rdf& rdf, double fromTime,
                           const std::optional<FirstShell>& shell) {
    const std::string over = formatted("g(r) over %zu frames from %g ps", rdf.frames, fromTime);
    if (!shell) {
        return over + ": it never reaches 1, so there is no first shell";
    }
    return over + formatted(
                      ": first peak at %g Å (g = %#.3g), first minimum at %g Å (g = %#.3g), "
                      "%#.3g neighbours within it",
                      binCentre(rdf, shell->peak), shell->peakHeight,
                      binCentre(rdf, shell->minimum), shell->minimumValue, shell->coordination);
}
