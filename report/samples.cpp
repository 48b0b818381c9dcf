#include "report/samples.h"

#include "report/held_interrupts.h"
#include "simulation/observables.h"

void writeTrajectoryHeader(LineSink& trajectory, const Cell& cell, const RunParameters& params) {
    const HeldInterrupts untilWritten;  // a stop comes between lines
    trajectory << "1 " << params.atomCount << " " << params.stepCount / kSampleInterval;
    trajectory.endLine();
    trajectory << cell.Lx << " " << cell.Ly << " " << cell.Lz;
    trajectory.endLine();
    const double frameInterval = stored(Wide(params.dt) * kSampleInterval * 0.001);  // ps
    trajectory << "0 " << frameInterval;
    trajectory.endLine();
}

void writeSample(int step, LineSink& console, LineSink& trajectory, LineSink& energies,
                 LineSink& displacement, const ParticleState& state, double kinetic,
                 double potential, double temperature, const RunParameters& params) {
    const double total = stored(Wide(kinetic) + potential);  // J/mol per atom
    const double time = stored(Wide(step) * params.dt);      // fs

    console << step << "step, KE:" << kinetic << ", PE: " << potential << ", Tem:" << temperature
            << " K+P = " << total;
    console.endLine();

    // A stop waits for the sample's data lines, each still handed to the system as it ends; not
    // for the console, whose reader may hold it up for as long as it likes.
    const HeldInterrupts untilWritten;
    energies << time << ", " << total << ", " << kinetic << ", " << potential << ", "
             << temperature;
    energies.endLine();

    for (int i = 0; i < kAtomCount; ++i) {
        trajectory << state.x[i] << " " << state.y[i] << " " << state.z[i];
        trajectory.endLine();
    }

    displacement << time << ",  ";
    for (int species = 0; species < params.speciesCount; ++species) {
        displacement << meanSquaredDisplacement(state, species) << ", ";
    }
    displacement.endLine();
}
