#include "analysis/plot/msd_plot.h"

#include "analysis/compute/cell.h"
#include "analysis/formatted.h"

namespace {

// Two points of `line` at `start` and `end`, as the data block `name`.
std::string lineBlock(const char* name, double start, double end, double intercept, double slope) {
    DataBlock block = startBlock(name);
    addRow(block, {start, intercept + slope * start});
    addRow(block, {end, intercept + slope * end});
    return finished(block);
}

// The curves of the MSD averaged over every time origin: their data blocks and plot clauses.
void addAveraged(std::string& script, std::string& curves, const MsdAverage& average,
                 const std::optional<DiffusionFit>& fit) {
    if (average.msd.empty()) {
        return;
    }
    DataBlock block = startBlock("average");
    for (std::size_t k = 0; k < average.msd.size(); ++k) {
        addRow(block, {lagTime(average, k), average.msd[k]});
    }
    script += finished(block);
    curves =
        ", $average using 1:2 with lines lw 2 lc rgb '#c03030' "
        "title 'MSD averaged over every time origin, against the lag'";
    if (fit) {
        const double start = lagTime(average, fit->first);
        const double end = lagTime(average, fit->last);
        script += lineBlock("averageFit", start, end, fit->intercept, fit->slope);
        curves += formatted(
            ", $averageFit using 1:2 with lines lw 3 lc rgb 'black' dt 3 "
            "title 'line fitted to it over lags %g to %g ps: D = %#.3g ± %#.2g Å²/ps'",
            start, end, fit->d, fit->dError);
    }
}

}  // namespace

Picture msdPicture(const MsdFile& msd, const std::optional<SingleOriginFit>& singleOrigin,
                   const MsdAverage& average, const std::optional<DiffusionFit>& fit) {
    const auto& s = msd.samples;
    DataBlock block = startBlock("msd");
    for (const auto& m : s) {
        addRow(block, {picoseconds(m.time), m.msd});
    }
    std::string script = finished(block);
    std::string averagedCurves;
    addAveraged(script, averagedCurves, average, fit);
    script += outputCommand("msd.png");
    script +=
        "set title 'Mean squared displacement'\nset ylabel 'MSD (Å²)'\n"
        "set yrange [0:*]\n";
    std::string plot = "plot $msd using 1:2 with lines lw 1.5 title 'MSD'";
    if (singleOrigin) {
        const double start = picoseconds(s[singleOrigin->first].time);
        const double end = picoseconds(s[singleOrigin->last].time);
        // The window is shaded so that what the line was fitted to can be seen.
        script += formatted(
            "set object 1 rect from %.9g, graph 0 to %.9g, graph 1 behind "
            "fillcolor rgb '#e6ecf5' fillstyle solid noborder\n",
            start, end);
        const Line& line = singleOrigin->line;
        script += lineBlock("fit", start, end, line.intercept, line.slope);
        plot += formatted(
            ", $fit using 1:2 with lines lw 2.5 lc rgb 'black' dt 2 "
            "title 'least-squares line over the shaded window: D = %.4g Å²/ps'",
            diffusionFromSlope(line.slope));
    }
    return {"msd.png", script + plot + averagedCurves + "\nunset object 1\n"};
}
