#include "analysis/plot/energy_plot.h"

#include "analysis/compute/cell.h"
#include "analysis/formatted.h"
#include "analysis/plot/axis_range.h"

Picture energyPicture(const EnergyFile& energy) {
    DataBlock block = startBlock("energy");
    for (const auto& e : energy.samples) {
        addRow(block, {picoseconds(e.time), e.kinetic, e.potential, e.total});
    }
    const std::initializer_list<SampleField> fields = {
        [](const EnergySample& e) { return e.total; },
        [](const EnergySample& e) { return e.kinetic; },
        [](const EnergySample& e) { return e.potential; }};
    const AxisRange range = settledRange(energy, fields);
    std::string script = finished(block) + outputCommand("energy.png");
    script += "set title 'Energy per atom" + offScaleNote(energy, fields, range, "J/mol") +
              "'\nset ylabel 'energy (J/mol per atom)'\n";
    script += formatted("set yrange [%.9g:%.9g]\n", range.low, range.high);
    script +=
        "plot $energy using 1:2 with lines lw 1.5 title 'kinetic', "
        "$energy using 1:3 with lines lw 1.5 title 'potential', "
        "$energy using 1:4 with lines lw 1.5 title 'total (kinetic + potential)'\n";
    return {"energy.png", script};
}
