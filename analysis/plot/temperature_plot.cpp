#include "analysis/plot/temperature_plot.h"

#include <algorithm>

#include "analysis/compute/cell.h"
#include "analysis/formatted.h"
#include "analysis/plot/axis_range.h"
#include "analysis/simulated_run.h"

namespace {

// The running mean of the temperature over kMeanSamples samples centred on each, from where the
// window has left the hot start (the share of the run kept off the axis, axis_range.h), as the
// data block $mean; empty when the run is too short for one window. Returns the window's time.
double addRunningMean(std::string& script, const EnergyFile& energy) {
    const auto& s = energy.samples;
    const std::size_t settled = s.size() / kOffScaleShare;
    if (s.size() < settled + kMeanSamples) {
        return 0.0;
    }
    DataBlock block = startBlock("mean");
    double sum = 0.0;
    for (std::size_t i = settled; i < s.size(); ++i) {
        // Each term divided first, so that no sum of temperatures read leaves the numbers.
        sum += s[i].temperature / kMeanSamples;
        if (i >= settled + kMeanSamples) {
            sum -= s[i - kMeanSamples].temperature / kMeanSamples;
        }
        if (i + 1 >= settled + kMeanSamples) {
            addRow(block, {picoseconds(s[i - kMeanSamples / 2].time), sum});
        }
    }
    script += finished(block);
    return picoseconds(s[settled + kMeanSamples - 1].time - s[settled].time);
}

}  // namespace

Picture temperaturePicture(const EnergyFile& energy) {
    const double target = simulatedRun().targetTemperature;
    DataBlock block = startBlock("temperature");
    for (const auto& e : energy.samples) {
        addRow(block, {picoseconds(e.time), e.temperature});
    }
    std::string script = finished(block);
    const double window = addRunningMean(script, energy);
    const std::initializer_list<SampleField> fields = {
        [](const EnergySample& e) { return e.temperature; }};
    AxisRange range = settledRange(energy, fields);
    range.low = std::min(range.low, target);
    range.high = std::max(range.high, target);
    const auto& s = energy.samples;
    script += pngTerminal(1000, 600) + outputCommand("temperature.png");
    script +=
        timeAxis("time (ps)", picoseconds(s.front().time), picoseconds(s.back().time), energy.name);
    script += "set title 'Temperature, measured before each rescaling" +
              offScaleNote(energy, fields, range, "K") + "'\nset ylabel 'temperature (K)'\n";
    script += formatted("set yrange [%.9g:%.9g]\n", range.low, range.high);
    script += "plot $temperature using 1:2 with lines lw 1 lc rgb '#8fa8d8' title 'temperature'";
    if (window > 0.0) {
        script += formatted(
            ", $mean using 1:2 with lines lw 2.5 lc rgb '#c03030' title 'running mean over %g ps'",
            window);
    }
    // The target last, on top of the curves.
    return {"temperature.png",
            script + formatted(", %.9g with lines dt 2 lw 2 lc rgb 'black' title 'target %g K'\n",
                               target, target)};
}
