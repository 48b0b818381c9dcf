#include "analysis/write/rdf_text.h"

#include "analysis/formatted.h"

namespace {

std::string peakText(const RdfSummary& s) {
    if (s.peak) {
        return formatted("peak g = %.3f ± %.3f at %.3f ± %.3f Å", s.peak->height,
                         s.peak->heightError, s.peak->position, s.peak->positionError);
    }
    return formatted("peak g = %#.3g at %g Å (its highest bin, smoothed)", s.shell->peakHeight,
                     binCentre(s.rdf, s.shell->peak));
}

std::string shellText(const RdfSummary& s) {
    if (!s.shell->significant) {
        return "no distinct first shell";
    }
    return formatted("first shell out to %g Å, %#.3g neighbours",
                     binCentre(s.rdf, s.shell->minimum), s.shell->coordination);
}

// How the peak and the minimum were found, in one line.
std::string methodLine(const RdfSummary& s) {
    const FirstShell& shell = *s.shell;
    std::string line;
    if (s.peak) {
        line = formatted(
            "the peak: a least-squares parabola in (σ/r)⁶ through ln g over %g to %g Å, its "
            "errors from the bins' noise; ",
            binCentre(s.rdf, s.peak->first), binCentre(s.rdf, s.peak->last));
    }
    line += formatted(
        "the minimum: the lowest g (smoothed over 5 bins) out to twice the peak's distance, %.3f "
        "at %g Å, %.1f times its noise below 1, where a shell needs %g; the noise: each bin's "
        "pair count is about Poisson, ",
        shell.minimumValue, binCentre(s.rdf, shell.minimum),
        (1.0 - shell.minimumValue) / shell.minimumNoise, kShellSignificance);
    if (!s.rdf.dispersionMeasured) {
        return line +
               "its variance taken as Poisson's: too few frames arrived to measure how "
               "alike successive ones are";
    }
    return line + formatted(
                      "its variance widened %.2f times because successive frames are alike "
                      "(measured over blocks of frames)",
                      s.rdf.dispersion);
}

}  // namespace

std::string rdfSummaryLine(const RdfSummary& s) {
    const std::string over =
        formatted("g(r) from %g ps on, %zu frames: ", s.rdf.fromTime, s.rdf.frames);
    if (!s.shell) {
        return over + "it never reaches 1, so there is no first shell";
    }
    return over + peakText(s) + "; " + shellText(s);
}

std::string rdfText(const RdfSummary& s) {
    std::string text = formatted(
        "# g(r) of all pairs at the minimum image, %zu frames from %g ps on (t_eq = %g ps), "
        "bins of %g Å\n# %s\n",
        s.rdf.frames, s.rdf.fromTime, kEquilibrationTime, s.rdf.binWidth,
        rdfSummaryLine(s).c_str());
    if (s.shell) {
        text += "# " + methodLine(s) + "\n";
    }
    text += "# r/Å g\n";
    for (std::size_t b = 0; b < s.rdf.g.size(); ++b) {
        text += formatted("%.9g %.9g\n", binCentre(s.rdf, b), s.rdf.g[b]);
    }
    return text;
}

std::string noRdfLine() {
    return formatted("no g(r): no frames from t_eq = %g ps on", kEquilibrationTime);
}
