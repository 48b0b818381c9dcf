#include "analysis/plot/energy_plot.h"

#include "analysis/compute/cell.h"
#include "analysis/formatted.h"
#include "analysis/plot/axis_range.h"
#include "analysis/simulated_run.h"

namespace {

// One panel: a quantity of the samples, its column in $energy and its colour.
struct EnergyPanel {
    const char* name;
    SampleField field;
    int column;
    const char* colour;
};

constexpr EnergyPanel kPanels[] = {
    {"kinetic energy", [](const EnergySample& e) { return e.kinetic; }, 2, "#c03030"},
    {"potential energy", [](const EnergySample& e) { return e.potential; }, 3, "#208040"},
    {"total energy, kinetic + potential", [](const EnergySample& e) { return e.total; }, 4,
     "#3060c0"},
};

// Why the total is not conserved, in the words of the run's own thermostat.
std::string thermostatNote() {
    const SimulatedRun run = simulatedRun();
    return formatted(
        "The velocities are rescaled to %g K every %d steps (%g fs), which puts energy in or "
        "takes it out:\\nthe total energy is not conserved.",
        run.targetTemperature, run.rescaleInterval, run.rescaleInterval * run.timeStep);
}

std::string panel(const EnergyFile& energy, const EnergyPanel& p, bool bottom) {
    const AxisRange range = settledRange(energy, {p.field});
    std::string script =
        formatted("set title '%s%s'\nset yrange [%.9g:%.9g]\n", p.name,
                  offScaleNote(energy, {p.field}, range, "J/mol").c_str(), range.low, range.high);
    script += bottom ? "set format x '%g'\nset xlabel 'time (ps)'\n" : "set format x ''\n";
    return script + formatted("plot $energy using 1:%d with lines lw 1.2 lc rgb '%s' notitle\n",
                              p.column, p.colour);
}

}  // namespace

Picture energyPicture(const EnergyFile& energy) {
    DataBlock block = startBlock("energy");
    for (const auto& e : energy.samples) {
        addRow(block, {picoseconds(e.time), e.kinetic, e.potential, e.total});
    }
    const auto& s = energy.samples;
    std::string script = finished(block) + pngTerminal(1000, 900) + outputCommand("energy.png");
    script += timeAxis("", picoseconds(s.front().time), picoseconds(s.back().time), energy.name);
    script += "set ylabel 'J/mol per atom'\nunset key\n";
    script +=
        "set multiplot layout 3,1 margins 0.09,0.97,0.07,0.88 spacing 0,0.07 title \"Energy "
        "per atom, each on its own scale\\n" +
        thermostatNote() + "\"\n";
    for (const auto& p : kPanels) {
        script += panel(energy, p, &p == &kPanels[2]);
    }
    return {"energy.png", script + "unset multiplot\n"};
}
