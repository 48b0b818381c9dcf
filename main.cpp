// argon-md: one fixed molecular-dynamics run of argon atoms at 700 K, reported on the
// console (Shift-JIS) and in "position.dat", "energy.dat" and "msd.dat".
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "report/command_line.h"
#include "report/line_sink.h"
#include "report/messages.h"
#include "report/samples.h"
#include "report/standard_streams.h"
#include "simulation/integration.h"
#include "simulation/kernel.h"
#include "simulation/placement.h"
#include "simulation/run_state.h"
#include "simulation/x87_precision.h"

int main(int argc, char* argv[]) {
    useFullX87Precision();
#ifdef SIGPIPE
    // A console piped into a reader that quits must not end the run and cut the data files
    // short; the failed console writes are reported instead.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    const bool consoleClosed = prepareStandardStreams();
    if (argc > 1) {  // a question or a mistake, answered before any file is created
        return answerArguments(argc, argv, consoleClosed);
    }
    const RunParameters params{};
    const SpeciesTable species = makeSpeciesTable(params);
    ParticleState state{};
    LineSink console(stdout, "standard output");
    if (consoleClosed) {
        console.markLost(EBADF);
    }

    LineSink trajectory("position.dat");
    LineSink energies("energy.dat");
    LineSink displacement("msd.dat");

    const double edge = cellEdge(params);
    const Cell cell{edge, edge, edge};
    writeCellEdgeLine(console, cell.Lx);

    placeParticles(state, cell, params, [&console](int atom) { writeOverlapLine(console, atom); });
    writePlacementDoneLine(console, kAtomCount);
    state.vx.fill(0.0);
    state.vy.fill(0.0);
    state.vz.fill(0.0);
    writeVelocityLine(console);

    for (int step = 0; step < params.stepCount; ++step) {
        // The energies and the temperature are reported, and the temperature controlled, on
        // sampled steps only; the other steps need neither energy, and nothing else uses them.
        const bool sampled = step % kSampleInterval == 0;
        double potential = forcesOfStep(state, species, cell, params, sampled);
        advanceParticles(state, cell, params);
        if (sampled) {
            const KineticMeasure kinetic = measureKinetic(state, params);
            rescaleVelocities(state, kinetic.temperature, params);
            removeDrift(state);
            potential = normalisePotential(potential, params);
            if (step == 0) {
                writeTrajectoryHeader(trajectory, cell, params);
            }
            const SampleFigures figures{step, kinetic.energy, potential, kinetic.temperature};
            writeSample(figures, state, params, console, trajectory, energies, displacement);
        }
    }

    trajectory.close();
    energies.close();
    displacement.close();
    writeCompletionLine(console);
    console.close();

    const bool lost =
        console.failed() || trajectory.failed() || energies.failed() || displacement.failed();
    return lost ? 1 : 0;
}
