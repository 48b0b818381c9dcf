#include "analysis/plots.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "analysis/formatted.h"
#include "analysis/gnuplot_process.h"
#include "analysis/text_input.h"

namespace {

// The first samples of a run hold its hot start, thousands of kelvin above the rest; scaling the
// axis to them would flatten the settled run into a line. This share of the run is left out of
// the axis range (its curve then leaves through the top of the picture).
constexpr std::size_t kOffScaleShare = 50;  // 1/50 of the samples

struct Range {
    double low = 0.0;
    double high = 0.0;
    std::size_t lowAt = 0;  // the samples that hold them
    std::size_t highAt = 0;
};

using Field = double (*)(const EnergySample&);

double total(const EnergySample& e) {
    return e.total;
}
double kinetic(const EnergySample& e) {
    return e.kinetic;
}
double potential(const EnergySample& e) {
    return e.potential;
}
double temperature(const EnergySample& e) {
    return e.temperature;
}

Range range(const std::vector<EnergySample>& samples, std::size_t from,
            std::initializer_list<Field> fields) {
    const double start = fields.begin()[0](samples[from]);
    Range r{start, start, from, from};
    for (std::size_t i = from; i < samples.size(); ++i) {
        for (Field field : fields) {
            const double value = field(samples[i]);
            if (value < r.low) {
                r.low = value;
                r.lowAt = i;
            }
            if (value > r.high) {
                r.high = value;
                r.highAt = i;
            }
        }
    }
    return r;
}

// The axis range of the settled run, with a margin. Values read are finite, but two far apart
// can put the range itself beyond the numbers; the lines that hold them are named.
Range settledRange(const std::string& file, const std::vector<EnergySample>& samples,
                   std::initializer_list<Field> fields) {
    Range r = range(samples, std::min(samples.size() / kOffScaleShare, samples.size() - 1), fields);
    const double margin = std::max(0.05 * r.high - 0.05 * r.low, 1e-6 * std::max(1.0, r.high));
    r.low -= margin;
    r.high += margin;
    if (!std::isfinite(r.low) || !std::isfinite(r.high)) {
        const std::string lines =
            r.lowAt == r.highAt ? formatted("line %zu", r.lowAt + 1)
                                : formatted("lines %zu and %zu", std::min(r.lowAt, r.highAt) + 1,
                                            std::max(r.lowAt, r.highAt) + 1);
        throw InputError(file + ", " + lines + ": the values are too far apart to plot");
    }
    return r;
}

// Words for the title when the start of the run leaves the picture.
std::string offScaleNote(const std::vector<EnergySample>& samples,
                         std::initializer_list<Field> fields, Range shown, const char* unit) {
    const Range all = range(samples, 0, fields);
    if (all.high > shown.high) {
        return formatted(" (the start, up to %g %s, is off the scale)", all.high, unit);
    }
    if (all.low < shown.low) {
        return formatted(" (the start, down to %g %s, is off the scale)", all.low, unit);
    }
    return "";
}

std::string energyPlots(const EnergyFile& energy) {
    const std::string& file = energy.name;
    const auto& s = energy.samples;
    std::string script = "$energy << EOD\n";
    for (const auto& e : s) {
        script += formatted("%.9g %.9g %.9g %.9g %.9g\n", e.time / kFsPerPs, e.kinetic, e.potential,
                            e.total, e.temperature);
    }
    script += "EOD\n";

    const Range energies = settledRange(file, s, {total, kinetic, potential});
    script += gnuplotOutput("energy.png");
    script += "set title 'Energy per atom" +
              offScaleNote(s, {total, kinetic, potential}, energies, "J/mol") +
              "'\nset ylabel 'energy (J/mol per atom)'\n";
    script += formatted("set yrange [%.9g:%.9g]\n", energies.low, energies.high);
    script +=
        "plot $energy using 1:2 with lines lw 1.5 title 'kinetic', "
        "$energy using 1:3 with lines lw 1.5 title 'potential', "
        "$energy using 1:4 with lines lw 1.5 title 'total (kinetic + potential)'\n";

    Range temperatures = settledRange(file, s, {temperature});
    temperatures.low = std::min(temperatures.low, kTargetTemperature);
    temperatures.high = std::max(temperatures.high, kTargetTemperature);
    script += gnuplotOutput("temperature.png");
    script += "set title 'Temperature" + offScaleNote(s, {temperature}, temperatures, "K") +
              "'\nset ylabel 'temperature (K)'\n";
    script += formatted("set yrange [%.9g:%.9g]\n", temperatures.low, temperatures.high);
    script += formatted(
        "plot $energy using 1:5 with lines lw 1.5 title 'measured before each rescaling', "
        "%g with lines dt 2 lw 2 lc rgb 'black' title 'target %g K'\n",
        kTargetTemperature, kTargetTemperature);
    return script;
}

std::string msdPlot(const MsdFile& msd, const std::optional<DiffusionFit>& fit,
                    const ExtraPictures& extra) {
    const auto& s = msd.samples;
    std::string script = "$msd << EOD\n";
    for (const auto& m : s) {
        script += formatted("%.9g %.9g\n", m.time / kFsPerPs, m.msd);
    }
    script += "EOD\n" + extra.msdData;
    script += gnuplotOutput("msd.png");
    script +=
        "set title 'Mean squared displacement'\nset ylabel 'MSD (Å²)'\n"
        "set yrange [0:*]\n";
    std::string plot = "plot $msd using 1:2 with lines lw 1.5 title 'MSD'";
    if (fit) {
        const double start = s[fit->first].time / kFsPerPs;
        const double end = s[fit->last].time / kFsPerPs;
        // The window is shaded so that what the line was fitted to can be seen.
        script += formatted(
            "set object 1 rect from %.9g, graph 0 to %.9g, graph 1 behind "
            "fillcolor rgb '#e6ecf5' fillstyle solid noborder\n",
            start, end);
        script +=
            formatted("$fit << EOD\n%.9g %.9g\n%.9g %.9g\nEOD\n", start,
                      fit->intercept + fit->slope * start, end, fit->intercept + fit->slope * end);
        plot += formatted(
            ", $fit using 1:2 with lines lw 2.5 lc rgb 'black' dt 2 "
            "title 'least-squares line over the shaded window: D = %.4g Å²/ps'",
            diffusionCoefficient(fit->slope));
    }
    return script + plot + extra.msdCurves + "\nunset object 1\n";
}

// The script that draws the pictures into gnuplot's working directory.
std::string plotScript(const EnergyFile& energy, const MsdFile& msd,
                       const std::optional<DiffusionFit>& fit, const ExtraPictures& extra) {
    std::string script =
        "set terminal pngcairo size 1000,600 noenhanced font ',11'\n"
        "set encoding utf8\nset grid\nset key below height 1.5\n"
        "set xlabel 'time (ps)'\nset autoscale xfix\n";
    if (!energy.samples.empty()) {
        script += energyPlots(energy);
    }
    if (!msd.samples.empty()) {
        script += msdPlot(msd, fit, extra);
    }
    return script + extra.script + "unset output\n";
}

}  // namespace

std::string gnuplotOutput(const char* name) {
    return "set output '" + std::string(name) + "'\n";
}

std::vector<std::string> drawPlots(Staging& staging, const EnergyFile& energy, const MsdFile& msd,
                                   const std::optional<DiffusionFit>& fit,
                                   const ExtraPictures& extra) {
    std::vector<std::string> names;
    if (!energy.samples.empty()) {
        names = {"energy.png", "temperature.png"};
    }
    if (!msd.samples.empty()) {
        names.push_back("msd.png");
    }
    names.insert(names.end(), extra.names.begin(), extra.names.end());
    if (names.empty()) {
        return names;
    }
    // Formed first: a refusal of the samples comes before gnuplot, whether or not it is there.
    staging.writeScript(plotScript(energy, msd, fit, extra));

    // Joined before gnuplot runs, so that a picture that cannot take its name is told first
    // and whatever gnuplot leaves is removed with the rest of a refused report.
    for (const auto& name : names) {
        staging.adopt(name.c_str());
    }
    const auto dropPictures = [&] {
        for (const auto& name : names) {
            staging.drop(name.c_str());
        }
    };
    int status = 0;
    try {
        status = runGnuplot(staging);
    } catch (...) {
        dropPictures();
        throw;
    }
    if (status != 0) {
        dropPictures();
        throw std::runtime_error(
            formatted("gnuplot failed (exit status %d); no plots written", status));
    }
    for (const auto& name : names) {
        if (!staging.holdsFile(name.c_str())) {
            dropPictures();
            throw std::runtime_error(name + ": gnuplot did not write it");
        }
    }
    return names;
}
