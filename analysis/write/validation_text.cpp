#include "analysis/write/validation_text.h"

#include "analysis/compute/equilibration.h"
#include "analysis/formatted.h"
#include "analysis/known_fluid/equation_of_state.h"
#include "analysis/known_fluid/kinetic_theory.h"
#include "analysis/write/validation_table.h"

namespace {

constexpr double kPascalsPerMegapascal = 1e6;

using Lines = std::vector<std::string>;

std::string averageLine(const char* what, const std::optional<BlockAverage>& a, double scale,
                        const char* unit) {
    if (!a) return "";
    const BlockLevel& read = a->levels[a->level];
    return formatted("  %s %s %s (%s %zu blocks of %zu samples)", what,
                     withError(a->mean / scale, a->standardError / scale).c_str(), unit,
                     a->plateauReached ? "read at" : "at least: no plateau by", read.blocks,
                     read.blockLength);
}

void addAverages(Lines& lines, const SampleAverages& a) {
    if (!a.temperature) return;
    lines.push_back(formatted("The run's averages, from t_eq = %g ps on (%zu samples, %zu frames):",
                              kEquilibrationTime, a.samples, a.pressureSamples));
    for (const std::string& line :
         {averageLine("T     =", a.temperature, 1.0, "K"),
          averageLine("KE    =", a.kinetic, 1.0, "J/mol per atom"),
          averageLine("PE    =", a.potential, 1.0, "J/mol per atom"),
          averageLine("KE+PE =", a.total, 1.0, "J/mol per atom"),
          averageLine("p     =", a.pressure, kPascalsPerMegapascal,
                      "MPa, the virial of the run's forces (cut at r_c)")}) {
        if (!line.empty()) lines.push_back(line);
    }
    lines.push_back(
        "  Each error is a standard error by block averaging (Flyvbjerg and Petersen, J. Chem. "
        "Phys. 91 (1989) 461): the samples, which are correlated, are averaged in blocks of 1, 2, "
        "4, ... and the error of the block means is read at the first block length B with "
        "B³ ≥ 2 N (σ_B / σ_1)⁴ (Lee, Conduit, Nemec, López Ríos and Drummond, Phys. Rev. E 83 "
        "(2011) 066706), where it has stopped growing; its own uncertainty is "
        "1/√(2 (blocks − 1)) of it.");
}

void addStatePoint(Lines& lines, const RunCheck& c, const ProgramConstants& k) {
    lines.push_back("The state point, in the reduced units of the simulation's own constants:");
    lines.push_back(
        formatted("  σ = %g Å, ε/k_B = %g K, m = %g g/mol, forces cut at r_c = %g Å (%.4g σ)",
                  k.sigma, temperatureUnit(k), k.mass, k.cutoff, k.cutoff / k.sigma));
    lines.push_back(formatted(
        "  units: energy ε N_A = %.6g J/mol per atom; pressure ε/σ³ = %.5g MPa; time σ √(m/ε) "
        "= %.5g ps; D σ √(ε/m) = %.5g Å²/ps",
        energyUnit(k), pressureUnit(k) / kPascalsPerMegapascal, timeUnit(k), diffusionUnit(k)));
    lines.push_back(formatted("  ρ* = N σ³ / V = %d × %g³ / %g³ = %.5f", c.state.atomCount, k.sigma,
                              c.state.edge, c.density));
    lines.push_back(
        formatted("  T = %.2f K as the run measures it (3N degrees of freedom): "
                  "T* = %.5f",
                  c.state.temperature, c.temperature));
    lines.push_back(formatted(
        "  the total momentum held at zero leaves 3N − 3 free: T_kin = T × 3N / (3N − 3) = "
        "%.2f K, T* = %.5f; the positions are distributed at T_kin, so the references are "
        "taken there",
        c.kineticTemperature * temperatureUnit(k), c.kineticTemperature));
}

void addEnergy(Lines& lines, const RunCheck& c) {
    if (c.energy.empty()) return;
    const EnergyComparison& first = c.energy.front();
    lines.push_back("Potential energy per atom, U_res (J/mol per atom):");
    lines.push_back(formatted("  the run: %s", withError(first.run, first.standardError).c_str()));
    lines.push_back(formatted(
        "  the pairs beyond the minimum-image cube, which the run does not count (ρ/2 ∫ u d³r "
        "outside the cube, g = 1 there): %+.2f, so %.2f",
        first.cubeTail, first.corrected));
    for (const EnergyComparison& e : c.energy) {
        lines.push_back(formatted(
            "  %s: %.2f at T*; %+.2f at T_kin (degrees of freedom); %+.2f for %d atoms rather "
            "than infinitely many, an estimate ((N − 1)/N of the pair sum); reference %.2f: "
            "%s",
            modelName(e.model), e.equationOfState, e.degreesOfFreedom, e.finiteAtomCount,
            c.state.atomCount, e.reference, differenceText(e.difference).c_str()));
    }
}

void addPressure(Lines& lines, const RunCheck& c) {
    if (c.pressure.empty()) return;
    const PressureComparison& first = c.pressure.front();
    const double mpa = kPascalsPerMegapascal;
    lines.push_back("Pressure, p, and the compressibility factor Z = p / (ρ k_B T):");
    lines.push_back(formatted(
        "  the run: %s MPa from the virial of its own forces (r < r_c, minimum image), Z = %.4f",
        withError(first.run / mpa, first.standardError / mpa).c_str(), first.run / first.kinetic));
    lines.push_back(
        formatted("  the tail of the forces beyond r_c, g = 1 there (Allen and Tildesley, Computer "
                  "Simulation of Liquids, 1987): %+.3f MPa, so %.3f MPa, Z = %s",
                  first.cutoffTail / mpa, first.corrected / mpa,
                  withError(first.runZ, first.standardError / first.kinetic).c_str()));
    lines.push_back(
        formatted("  the cell was sized for %.5g MPa, the ideal gas at the target temperature; "
                  "ρ k_B T at the run's T is %.3f MPa, and the fluid pushes %.0f%% harder",
                  c.cellPressure / mpa, first.kinetic / mpa,
                  100.0 * (first.corrected / first.kinetic - 1.0)));
    for (const PressureComparison& p : c.pressure) {
        lines.push_back(formatted(
            "  %s: ρ k_B T %.3f + (Z − 1) ρ k_B T_kin %.3f %+.3f for %d atoms (an estimate) = "
            "%.3f MPa, Z = %.4f: %s",
            modelName(p.model), p.kinetic / mpa, p.excess / mpa, p.finiteAtomCount / mpa,
            c.state.atomCount, p.reference / mpa, p.referenceZ,
            differenceText(p.difference).c_str()));
    }
}

void addDiffusion(Lines& lines, const RunCheck& c) {
    if (!c.diffusion) return;
    const DiffusionCheck& d = *c.diffusion;
    const double error = d.infinite.error;
    lines.push_back("Self-diffusion coefficient, D (Å²/ps):");
    lines.push_back(formatted("  the run, in its cell: %s (diffusion.txt), D* = %s",
                              withError(d.infinite.value - d.boxCorrection, error).c_str(),
                              withError(d.reduced.value, d.reduced.error).c_str()));
    lines.push_back(formatted(
        "  the drag of the cell's periodic images (Yeh and Hummer, J. Phys. Chem. B 108 (2004) "
        "15873: ξ k_B T / (6π η L), ξ = 2.837297, with η = %.3g Pa s from Enskog, d = σ, "
        "at T_kin): %+.2f, so %s",
        d.viscosity, d.boxCorrection, withError(d.infinite.value, error).c_str()));
    lines.push_back(formatted(
        "  kinetic theory at T_kin: the dilute gas (Chapman-Enskog, collision integrals of Kim "
        "and Monroe, J. Comput. Phys. 273 (2014) 358) %s; Enskog's dense gas, which slows it by "
        "the contact value of hard spheres (Carnahan-Starling), %s with d = σ and %s with the "
        "Kolafa-Nezbeda diameter %.4f σ: %s",
        toPlaceOf(d.dilute, error).c_str(), toPlaceOf(d.enskogSigma, error).c_str(),
        toPlaceOf(d.enskogDiameter, error).c_str(), d.diameter,
        differenceText(d.difference).c_str()));
}

void addPeak(Lines& lines, const RunCheck& c) {
    if (!c.peak || !c.peak->runPosition) return;
    const PeakCheck& p = *c.peak;
    lines.push_back("The first peak of g(r):");
    lines.push_back(formatted("  the run: at %s Å, g = %s (rdf.txt)",
                              withError(p.runPosition->value, p.runPosition->error).c_str(),
                              withError(p.runHeight->value, p.runHeight->error).c_str()));
    lines.push_back(formatted(
        "  g = e^(−u/kT) [1 + ρ y1(r)], the density expansion to first order (Hansen and "
        "McDonald, Theory of Simple Liquids), at T_kin: at %.3f Å, g = %.3f, the first order "
        "raising it by %.1f%%; the dilute limit e^(−u/kT) alone peaks at %.3f Å (2^(1/6) σ), g = "
        "%.3f. "
        "The next order, in ρ*², is left "
        "out: about a quarter of the first",
        p.position, p.height, 100.0 * p.firstOrder, p.dilutePosition, p.diluteHeight));
}

// Why a reference is not compared with, where it is not.
void addLimits(Lines& lines, const SampleAverages& a, const RunCheck& c) {
    if (!a.temperature) {
        lines.push_back(formatted(
            "No averages and no comparison: the run has %zu samples from t_eq = %g ps on, fewer "
            "than the %zu that block averaging needs.",
            a.samples, kEquilibrationTime, kFewestBlocks));
        return;
    }
    if (!c.statePoint) {
        lines.push_back(
            "No state point: it needs a cubic cell, two atoms or more and a positive "
            "mean temperature.");
        return;
    }
    if (!c.equationsOfStateHold) {
        lines.push_back(formatted(
            "No comparison with the equations of state: they disagree by %.3g here (ε in U_res, "
            "or in Z), so at least one is used outside the states it was fitted to.",
            c.equationsApart));
    }
    if (!c.collisionIntegralsHold) {
        lines.push_back(formatted(
            "No kinetic theory for D: it holds for T* from %g to %g, where the collision "
            "integrals were fitted, and for hard spheres of d = σ below a packing fraction of "
            "%g, where they freeze; here T*_kin = %.3g and ρ* = %.3g.",
            kCollisionIntegralLowest, kCollisionIntegralHighest, kHardSphereFreezing,
            c.kineticTemperature, c.density));
    }
    if (!c.lowDensity) {
        lines.push_back(formatted(
            "No reference for the g(r) peak: its first order in the density passes %g of g "
            "here, too much for the expansion to hold.",
            kFirstOrderAtMost));
    }
}

}  // namespace

std::vector<std::string> validationSummary(const SampleAverages& averages, const RunCheck& check) {
    Lines lines = {
        formatted("the run against the known Lennard-Jones fluid, from %g ps on "
                  "(validation.txt):",
                  kEquilibrationTime)};
    const std::vector<CheckRow> rows = validationRows(check);
    if (rows.empty()) {
        Lines why;
        addLimits(why, averages, check);
        lines.push_back("  " + (why.empty() ? std::string("nothing to compare") : why.front()));
        return lines;
    }
    for (const std::string& line : tableLines(rows, "  ")) lines.push_back(line);
    return lines;
}

std::string validationText(const SampleAverages& averages, const RunCheck& check,
                           const ProgramConstants& constants) {
    Lines lines = {
        "The run against the known Lennard-Jones fluid (derived step by step in "
        "docs/known-fluid.md)",
        ""};
    const std::vector<CheckRow> rows = validationRows(check);
    for (const std::string& line : tableLines(rows, "")) lines.push_back(line);
    lines.push_back(
        "this run: the run's value with what it leaves out of its sums added (the pairs beyond "
        "its cube, the forces beyond r_c, the drag of its periodic images on D); reference: the "
        "infinite fluid brought to the run's temperature and atom count; difference: (this run "
        "− reference) / the run's standard error. agrees: within 2 standard errors; marginal: "
        "2 to 3, which one run in twenty shows by chance alone; differs: beyond 3.");
    lines.push_back("");
    addLimits(lines, averages, check);
    addAverages(lines, averages);
    if (check.statePoint) addStatePoint(lines, check, constants);
    addEnergy(lines, check);
    addPressure(lines, check);
    addDiffusion(lines, check);
    addPeak(lines, check);
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}
