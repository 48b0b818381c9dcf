#include "analysis/write/rdf_text.h"

#include "analysis/formatted.h"

std::string rdfText(const Rdf& rdf) {
    std::string text = formatted(
        "# r (Å) at the bin centre, g(r) of all pairs at the minimum image over %zu frames from "
        "%g ps\n",
        rdf.frames, rdf.fromTime);
    for (std::size_t b = 0; b < rdf.g.size(); ++b) {
        text += formatted("%.9g %.9g\n", binCentre(rdf, b), rdf.g[b]);
    }
    return text;
}

std::string firstShellLine(const Rdf& rdf, const std::optional<FirstShell>& shell) {
    const std::string over = formatted("g(r) over %zu frames from %g ps", rdf.frames, rdf.fromTime);
    if (!shell) {
        return over + ": it never reaches 1, so there is no first shell";
    }
    return over + formatted(
                      ": first peak at %g Å (g = %#.3g), first minimum at %g Å (g = %#.3g), "
                      "%#.3g neighbours within it",
                      binCentre(rdf, shell->peak), shell->peakHeight,
                      binCentre(rdf, shell->minimum), shell->minimumValue, shell->coordination);
}

std::string noRdfLine() {
    return formatted("no g(r): no frames from t_eq = %g ps on", kEquilibrationTime);
}
