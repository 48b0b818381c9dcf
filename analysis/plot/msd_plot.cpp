#include "analysis/plot/msd_plot.h"

#include "analysis/compute/cell.h"
#include "analysis/formatted.h"
#include "analysis/plot/axis_range.h"

namespace {

// Two points of a line at `start` and `end`, as the data block `name`.
std::string lineBlock(const char* name, double start, double end, double intercept, double slope) {
    DataBlock block = startBlock(name);
    addRow(block, {start, intercept + slope * start});
    addRow(block, {end, intercept + slope * end});
    return finished(block);
}

// The panel's place in the picture, as fractions of its height.
std::string margins(double bottom, double top) {
    return formatted(
        "set lmargin at screen 0.09\nset rmargin at screen 0.97\n"
        "set bmargin at screen %g\nset tmargin at screen %g\n",
        bottom, top);
}

// The main panel: the MSD averaged over every time origin against the lag, D's window shaded.
std::string averagedPanel(const MsdAverage& average, const std::optional<DiffusionFit>& fit) {
    DataBlock block = startBlock("average");
    for (std::size_t k = 0; k < average.msd.size(); ++k) {
        addRow(block, {lagTime(average, k), average.msd[k]});
    }
    std::string script = finished(block) + margins(0.43, 0.93);
    script += timeAxis("lag (ps)", 0.0, lagTime(average, average.msd.size() - 1), "position.dat");
    std::string plot =
        "plot $average using 1:2 with lines lw 2.5 lc rgb '#c03030' "
        "title 'MSD averaged over every time origin, against the lag'";
    if (fit) {
        const double start = lagTime(average, fit->first);
        const double end = lagTime(average, fit->last);
        script += lineBlock("averageFit", start, end, fit->intercept, fit->slope);
        script += formatted(
            "set title 'D = %#.3g ± %#.2g Å²/ps: a sixth of the slope of the averaged MSD over "
            "the shaded window'\n"
            "set object 1 rect from %.9g, graph 0 to %.9g, graph 1 behind "
            "fillcolor rgb '#dce6f5' fillstyle solid noborder\n",
            fit->d, fit->dError, start, end);
        plot += formatted(
            ", $averageFit using 1:2 with lines lw 2 dt 2 lc rgb 'black' "
            "title 'least-squares line over lags %g to %g ps (shaded)'",
            start, end);
    } else {
        script += "set title 'No D: the averaged MSD grows as a line over too few lags'\n";
    }
    return script + plot + "\nunset object 1\n";
}

// The second panel, for comparison: msd.dat against time, its own window not shaded.
std::string singleOriginPanel(const MsdFile& msd, const std::optional<SingleOriginFit>& fit,
                              double bottom, double top) {
    const auto& s = msd.samples;
    DataBlock block = startBlock("msd");
    for (const auto& m : s) {
        addRow(block, {picoseconds(m.time), m.msd});
    }
    std::string script = finished(block) + margins(bottom, top);
    script += timeAxis("time since the placement (ps)", picoseconds(s.front().time),
                       picoseconds(s.back().time), msd.name);
    script +=
        "set title 'For comparison: the MSD of msd.dat, whose one time origin is the "
        "placement'\n";
    std::string plot =
        "plot $msd using 1:2 with lines lw 1.5 lc rgb '#909090' title 'MSD of msd.dat'";
    if (fit) {
        const double start = picoseconds(s[fit->first].time);
        const double end = picoseconds(s[fit->last].time);
        script += lineBlock("fit", start, end, fit->line.intercept, fit->line.slope);
        plot += formatted(
            ", $fit using 1:2 with lines lw 2 dt 2 lc rgb 'black' "
            "title 'its least-squares line over %g to %g ps: D = %.3g Å²/ps'",
            start, end, diffusionFromSlope(fit->line.slope));
    }
    return script + plot + "\n";
}

}  // namespace

Picture msdPicture(const MsdFile& msd, const std::optional<SingleOriginFit>& singleOrigin,
                   const MsdAverage& average, const std::optional<DiffusionFit>& fit) {
    std::string script = pngTerminal(1000, 850) + outputCommand("msd.png");
    script +=
        "set multiplot\nset key inside top left Left reverse\nset ylabel 'MSD (Å²)'\nset yrange "
        "[0:*]\n";
    const bool averaged = !average.msd.empty();
    if (averaged) {
        script += averagedPanel(average, fit);
    }
    script += singleOriginPanel(msd, singleOrigin, 0.07, averaged ? 0.31 : 0.93);
    return {"msd.png", script + "unset multiplot\n"};
}
