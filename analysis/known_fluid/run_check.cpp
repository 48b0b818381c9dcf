#include "analysis/known_fluid/run_check.h"

#include <algorithm>
#include <cmath>

#include "analysis/known_fluid/corrections.h"
#include "analysis/known_fluid/kinetic_theory.h"
#include "analysis/known_fluid/kolafa_nezbeda.h"
#include "analysis/known_fluid/pair_distribution.h"
#include "simulation/run_state.h"

namespace {

constexpr FluidModel kModels[] = {FluidModel::kolafaNezbeda, FluidModel::johnsonZollwegGubbins};

// The larger of |ΔU_res| (ε) and |ΔZ| between the two equations of state at the kinetic
// temperature, where they are compared with.
double equationsApart(const RunCheck& c) {
    const ResidualProperties kn =
        residualProperties(FluidModel::kolafaNezbeda, c.kineticTemperature, c.density);
    const ResidualProperties jzg =
        residualProperties(FluidModel::johnsonZollwegGubbins, c.kineticTemperature, c.density);
    return std::max(std::abs(kn.energy - jzg.energy),
                    std::abs(kn.compressibility - jzg.compressibility));
}

void checkDiffusion(RunCheck& c, const Estimate& d, const ProgramConstants& constants) {
    const double tStar = c.kineticTemperature;
    const double unit = diffusionUnit(constants);
    DiffusionCheck k;
    k.reduced = {d.value / unit, d.error / unit};
    k.diameter = kolafaNezbedaDiameter(tStar);
    const double dilute = chapmanEnskogDiffusion(tStar, c.density);
    const EnskogFactors sigma = enskogFactors(c.density, 1.0);
    const EnskogFactors diameter = enskogFactors(c.density, k.diameter);
    k.dilute = dilute * unit;
    k.enskogSigma = enskogDiffusion(dilute, sigma) * unit;
    k.enskogDiameter = enskogDiffusion(dilute, diameter) * unit;
    k.viscosity = enskogViscosity(chapmanEnskogViscosity(tStar), sigma) * viscosityUnit(constants);
    const double kelvin = tStar * temperatureUnit(constants);
    k.boxCorrection = yehHummerCorrection(kelvin, k.viscosity, c.state.edge, constants.boltzmann);
    k.infinite = {d.value + k.boxCorrection, d.error};
    const double low = std::min(k.enskogSigma, k.enskogDiameter);
    const double high = std::max(k.enskogSigma, k.enskogDiameter);
    const double v = k.infinite.value;
    k.difference = v > high ? (v - high) / d.error : v < low ? (v - low) / d.error : 0.0;
    c.diffusion = k;
}

void checkPeak(RunCheck& c, const RunMeasurements& run, const ProgramConstants& constants) {
    const PairPeak first = lowDensityPeak(c.kineticTemperature, c.density);
    c.lowDensity = std::abs(first.firstOrder) <= kFirstOrderAtMost && std::isfinite(first.height);
    if (!c.lowDensity) return;
    const PairPeak dilute = lowDensityPeak(c.kineticTemperature, 0.0);
    PeakCheck p;
    p.position = first.position * constants.sigma;
    p.height = first.height;
    p.dilutePosition = dilute.position * constants.sigma;
    p.diluteHeight = dilute.height;
    p.firstOrder = first.firstOrder;
    p.runPosition = run.peakPosition;
    p.runHeight = run.peakHeight;
    if (run.peakPosition && run.peakPosition->error > 0.0) {
        p.positionDifference = (run.peakPosition->value - p.position) / run.peakPosition->error;
    }
    if (run.peakHeight && run.peakHeight->error > 0.0) {
        p.heightDifference = (run.peakHeight->value - p.height) / run.peakHeight->error;
    }
    c.peak = p;
}

}  // namespace

RunCheck checkRun(const RunMeasurements& run, const ProgramConstants& constants) {
    RunCheck c;
    const auto& e = run.edges;
    c.state = {run.atomCount, e[0], run.temperature};
    c.cellPressure = RunParameters{}.pressure;
    c.statePoint = run.atomCount >= 2 && e[0] > 0.0 && e[1] == e[0] && e[2] == e[0] &&
                   run.temperature > 0.0 && std::isfinite(run.temperature);
    if (!c.statePoint) return c;
    c.density = reducedDensity(c.state, constants);
    c.temperature = reducedTemperature(run.temperature, constants);
    c.kineticTemperature = kineticTemperature(c.temperature, run.atomCount);
    c.equationsApart = equationsApart(c);
    c.equationsOfStateHold = c.equationsApart <= kEquationsOfStateApart;
    if (c.equationsOfStateHold) {
        for (const FluidModel model : kModels) {
            if (run.potential && run.potential->error > 0.0) {
                c.energy.push_back(compareEnergy(model, c.state, constants, run.potential->value,
                                                 run.potential->error));
            }
            if (run.pressure && run.pressure->error > 0.0) {
                c.pressure.push_back(comparePressure(model, c.state, constants, run.pressure->value,
                                                     run.pressure->error));
            }
        }
    }
    c.collisionIntegralsHold = c.kineticTemperature >= kCollisionIntegralLowest &&
                               c.kineticTemperature <= kCollisionIntegralHighest &&
                               enskogFactors(c.density, 1.0).packing < kHardSphereFreezing;
    if (c.collisionIntegralsHold && run.diffusion && run.diffusion->error > 0.0) {
        checkDiffusion(c, *run.diffusion, constants);
    }
    checkPeak(c, run, constants);
    return c;
}
