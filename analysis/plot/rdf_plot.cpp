#include "analysis/plot/rdf_plot.h"

#include "analysis/formatted.h"

namespace {

// The fitted peak as a point with its error bars, and its plot clause.
std::string peakMark(const RdfSummary& s, std::string& plot) {
    if (!s.peak) return "";
    DataBlock block = startBlock("peak");
    addRow(block, {s.peak->position, s.peak->height, s.peak->positionError, s.peak->heightError});
    plot += formatted(
        ", $peak using 1:2:3:4 with xyerrorbars pt 7 ps 0.8 lc rgb 'black' "
        "title 'fitted peak: g = %.3f at %.3f Å'",
        s.peak->height, s.peak->position);
    return finished(block);
}

// The first minimum where it ends a shell, or the note that there is none.
std::string shellMark(const RdfSummary& s, std::string& plot) {
    if (!s.shell) return "";
    if (!s.shell->significant) {
        return "set label 1 'no distinct first shell: g has no minimum below 1 beyond its "
               "noise' at graph 0.98, graph 0.1 right\n";
    }
    const double r = binCentre(s.rdf, s.shell->minimum);
    plot += formatted(
        ", NaN with lines dt 3 lc rgb '#c03030' title 'first minimum, %#.3g neighbours within it'",
        s.shell->coordination);
    return formatted(
        "set arrow 1 from %.9g, graph 0 to %.9g, graph 1 nohead dt 3 lc rgb '#c03030'\n", r, r);
}

}  // namespace

Picture rdfPicture(const RdfSummary& s) {
    DataBlock block = startBlock("rdf");
    for (std::size_t b = 0; b < s.rdf.g.size(); ++b) {
        addRow(block, {binCentre(s.rdf, b), s.rdf.g[b]});
    }
    std::string plot =
        "plot $rdf using 1:2 with histeps lw 1.5 title 'g(r)', 1 with lines dt 2 lc rgb 'black' "
        "title 'ideal gas'";
    const std::string peak = peakMark(s, plot);
    const std::string shell = shellMark(s, plot);
    std::string script = finished(block) + peak + pngTerminal(1000, 600) + outputCommand("rdf.png");
    script += formatted(
        "set title 'Radial distribution function of all pairs: %zu frames from %g ps on, bins "
        "of %g Å'\nset xlabel 'r (Å)'\nset ylabel 'g(r)'\nset xrange [0:*]\nset yrange [0:*]\n"
        "set key below\n",
        s.rdf.frames, s.rdf.fromTime, s.rdf.binWidth);
    return {"rdf.png", script + shell + plot + "\nunset arrow 1\nunset label 1\n"};
}
