#include "analysis/plot/rdf_plot.h"

#include "analysis/formatted.h"

Picture rdfPicture(const Rdf& rdf, const std::optional<FirstShell>& shell) {
    DataBlock block = startBlock("rdf");
    for (std::size_t b = 0; b < rdf.g.size(); ++b) {
        addRow(block, {binCentre(rdf, b), rdf.g[b]});
    }
    std::string script = finished(block) + pngTerminal(1000, 600) + outputCommand("rdf.png");
    script +=
        "set title 'Radial distribution function of all pairs'\nset xlabel 'r (Å)'\n"
        "set ylabel 'g(r)'\nset xrange [0:*]\nset yrange [0:*]\nset key below\n";
    std::string plot =
        "plot $rdf using 1:2 with histeps lw 1.5 title 'g(r)', 1 with lines dt 2 lc rgb 'black' "
        "title 'ideal gas'";
    if (shell) {
        script += formatted(
            "set arrow 1 from %.9g, graph 0 to %.9g, graph 1 nohead dt 3 lc rgb '#c03030'\n",
            binCentre(rdf, shell->minimum), binCentre(rdf, shell->minimum));
        plot += formatted(
            ", NaN with lines dt 3 lc rgb '#c03030' title 'first minimum, %#.3g "
            "neighbours within it'",
            shell->coordination);
    }
    return {"rdf.png", script + plot + "\nunset arrow 1\n"};
}
