#include "report/samples.h"

#include "report/held_interrupts.h"
#include "simulation/observables.h"

void writeTrajectoryHeader(LineSink& trajectory, const Cell& cell, const RunParameters& params) {
    const HeldInterrupts untilWritten;  // a stop comes between lines
    const int frames = (params.stepCount + kSampleInterval - 1) / kSampleInterval;  // sampled steps
    trajectory << "1 " << kAtomCount << " " << frames;
    trajectory.endLine();
    trajectory << cell.Lx << " " << cell.Ly << " " << cell.Lz;
    trajectory.endLine();
    const double frameInterval = stored(Wide(params.dt) * kSampleInterval * 0.001);  // ps
    trajectory << "0 " << frameInterval;
    trajectory.endLine();
}

void writeSample(const SampleFigures& sample, const ParticleState& state,
                 const RunParameters& params, LineSink& console, LineSink& trajectory,
                 LineSink& energies, LineSink& displacement) {
    const double total = stored(Wide(sample.kinetic) + sample.potential);  // J/mol per atom
    const double time = stored(Wide(sample.step) * params.dt);             // fs

    console << sample.step << "step, KE:" << sample.kinetic << ", PE: " << sample.potential
            << ", Tem:" << sample.temperature << " K+P = " << total;
    console.endLine();

    // A stop waits for the sample's data lines, each still handed to the system as it ends; not
    // for the console, whose reader may hold it up for as long as it likes.
    const HeldInterrupts untilWritten;
    energies << time << ", " << total << ", " << sample.kinetic << ", " << sample.potential << ", "
             << sample.temperature;
    energies.endLine();

    for (int i = 0; i < kAtomCount; ++i) {
        trajectory << state.x[i] << " " << state.y[i] << " " << state.z[i];
        trajectory.endLine();
    }

    displacement << time << ",  ";
    for (int species = 0; species < kSpeciesCount; ++species) {
        displacement << meanSquaredDisplacement(state, species) << ", ";
    }
    displacement.endLine();
}
