#include "analysis/plot/temperature_plot.h"

#include <algorithm>

#include "analysis/compute/cell.h"
#include "analysis/formatted.h"
#include "analysis/plot/axis_range.h"

Picture temperaturePicture(const EnergyFile& energy) {
    DataBlock block = startBlock("temperature");
    for (const auto& e : energy.samples) {
        addRow(block, {picoseconds(e.time), e.temperature});
    }
    const std::initializer_list<SampleField> fields = {
        [](const EnergySample& e) { return e.temperature; }};
    AxisRange range = settledRange(energy, fields);
    range.low = std::min(range.low, kTargetTemperature);
    range.high = std::max(range.high, kTargetTemperature);
    std::string script = finished(block) + outputCommand("temperature.png");
    script += "set title 'Temperature" + offScaleNote(energy, fields, range, "K") +
              "'\nset ylabel 'temperature (K)'\n";
    script += formatted("set yrange [%.9g:%.9g]\n", range.low, range.high);
    script += formatted(
        "plot $temperature using 1:2 with lines lw 1.5 title 'measured before each rescaling', "
        "%g with lines dt 2 lw 2 lc rgb 'black' title 'target %g K'\n",
        kTargetTemperature, kTargetTemperature);
    return {"temperature.png", script};
}
