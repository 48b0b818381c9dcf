#include "analysis/pictures.h"

#include <algorithm>
#include <cmath>

#include "analysis/formatted.h"
#include "analysis/plots.h"

namespace {

// Back into the cell, where the atoms are drawn.
double wrapped(double x, double edge) {
    return x - edge * std::floor(x / edge);
}

std::string frameData(const UnwrappedTrajectory& t, std::size_t frame) {
    std::string data;
    for (std::size_t a = 0; a < t.atomCount; ++a) {
        data += formatted("%.6g %.6g %.6g\n", wrapped(coordinate(t, frame, a, 0), t.edge[0]),
                          wrapped(coordinate(t, frame, a, 1), t.edge[1]),
                          wrapped(coordinate(t, frame, a, 2), t.edge[2]));
    }
    return data;
}

// The twelve edges of the cell, each its own data set (two blank lines apart), so that splot
// draws no mesh between them.
std::string cellBlock(const UnwrappedTrajectory& t) {
    std::string data = "$cell << EOD\n";
    const auto corner = [&](int c) {
        return formatted("%.9g %.9g %.9g\n", (c & 1) ? t.edge[0] : 0.0, (c & 2) ? t.edge[1] : 0.0,
                         (c & 4) ? t.edge[2] : 0.0);
    };
    for (int c = 0; c < 8; ++c) {
        for (int bit : {1, 2, 4}) {
            if ((c & bit) == 0) {
                data += corner(c) + corner(c | bit) + "\n\n";
            }
        }
    }
    return data + "EOD\n";
}

std::string cellView(const UnwrappedTrajectory& t) {
    return formatted(
        "set xrange [0:%.9g]\nset yrange [0:%.9g]\nset zrange [0:%.9g]\n"
        "set view equal xyz\nset view 60, 30\nset xyplane at 0\nunset key\n"
        "set xlabel 'x (Å)'\nset ylabel 'y (Å)'\nset zlabel 'z (Å)' rotate\n",
        t.edge[0], t.edge[1], t.edge[2]);
}

// The atoms drawn a little below their size (σ = 3.4 Å) would hide each other; points suffice.
constexpr const char* kAtomsStyle = "with points pt 7 ps 2 lc rgb '#3060c0'";
constexpr const char* kCellStyle = "with lines lc rgb 'black' lw 1";

std::string snapshot(const UnwrappedTrajectory& t) {
    const std::size_t last = frameCount(t) - 1;
    std::string script = "$atoms << EOD\n" + frameData(t, last) + "EOD\n";
    script += "set terminal pngcairo size 800,800 noenhanced font ',11'\n" +
              gnuplotOutput("snapshot.png") + cellView(t);
    script += formatted("set title 'The %zu atoms at %g ps, the last frame, in the cell'\n",
                        t.atomCount, frameTimePs(t, last));
    return script + "splot $cell " + kCellStyle + ", $atoms " + kAtomsStyle + "\n";
}

std::string animation(const UnwrappedTrajectory& t) {
    const std::size_t stride = animationStride(frameCount(t), t.atomCount);
    std::string script = "$frames << EOD\n";
    std::size_t shown = 0;
    for (std::size_t f = 0; f < frameCount(t); f += stride, ++shown) {
        script += frameData(t, f) + "\n\n";  // two blank lines end a data set (an index)
    }
    script += "EOD\n";
    script += "set terminal gif animate delay 8 loop 0 size 600,600 noenhanced\n" +
              gnuplotOutput("trajectory.gif") + cellView(t);
    script += formatted(
        "do for [i = 0:%zu] {\n  set title sprintf('The atoms at %%.2f ps', %.9g + i * %.9g)\n"
        "  splot $cell %s, $frames index i %s\n}\n",
        shown - 1, t.startTime, static_cast<double>(stride) * t.frameInterval, kCellStyle,
        kAtomsStyle);
    return script;
}

std::string rdfPicture(const Rdf& rdf, const std::optional<FirstShell>& shell) {
    std::string script = "$rdf << EOD\n";
    for (std::size_t b = 0; b < rdf.g.size(); ++b) {
        script += formatted("%.9g %.9g\n", binCentre(rdf, b), rdf.g[b]);
    }
    script += "EOD\n";
    script +=
        "set terminal pngcairo size 1000,600 noenhanced font ',11'\n" + gnuplotOutput("rdf.png");
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
    return script + plot + "\nunset arrow 1\n";
}

}  // namespace

std::size_t animationStride(std::size_t frames, std::size_t atoms) {
    const std::size_t stride =
        std::max<std::size_t>(1, std::min(kAnimationStride, frames / kAnimationFrames));
    const std::size_t most =
        std::max<std::size_t>(1, std::min(kMostAnimationFrames, kMostAnimationAtoms / atoms));
    return std::max(stride, (frames + most - 1) / most);
}

ExtraPictures extraPictures(const UnwrappedTrajectory& t, const MsdAverage& msd,
                            const std::optional<MultiOriginFit>& fit, const Rdf* rdf,
                            const std::optional<FirstShell>& shell) {
    ExtraPictures extra;
    if (!msd.msd.empty()) {
        extra.msdData = "$average << EOD\n";
        for (std::size_t k = 0; k < msd.msd.size(); ++k) {
            extra.msdData += formatted("%.9g %.9g\n", lagTime(msd, k), msd.msd[k]);
        }
        extra.msdData += "EOD\n";
        extra.msdCurves =
            ", $average using 1:2 with lines lw 2 lc rgb '#c03030' "
            "title 'MSD averaged over every time origin, against the lag'";
    }
    if (fit) {
        const double start = lagTime(msd, fit->first);
        const double end = lagTime(msd, fit->last);
        extra.msdData +=
            formatted("$averageFit << EOD\n%.9g %.9g\n%.9g %.9g\nEOD\n", start,
                      fit->intercept + fit->slope * start, end, fit->intercept + fit->slope * end);
        extra.msdCurves += formatted(
            ", $averageFit using 1:2 with lines lw 3 lc rgb 'black' dt 3 "
            "title 'line fitted to it over lags %g to %g ps: D = %#.3g ± %#.2g Å²/ps'",
            start, end, fit->d, fit->dError);
    }
    if (frameCount(t) == 0) {
        return extra;
    }
    if (rdf != nullptr) {
        extra.script += rdfPicture(*rdf, shell);
        extra.names.push_back("rdf.png");
    }
    // The animated terminal last: the script's end closes its output.
    extra.script += cellBlock(t) + snapshot(t) + animation(t);
    extra.names.insert(extra.names.end(), {"snapshot.png", "trajectory.gif"});
    return extra;
}
