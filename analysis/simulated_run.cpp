#include "analysis/simulated_run.h"

#include "simulation/run_state.h"

SimulatedRun simulatedRun() {
    const RunParameters params;
    SimulatedRun run;
    run.targetTemperature = params.targetTemperature;
    run.rescaleInterval = kSampleInterval;
    run.stepCount = params.stepCount;
    run.timeStep = params.dt;
    run.sigma = kArgonSigma;
    run.wellDepth = kArgonWellDepth;
    run.atomMass = kArgonMass;
    return run;
}
