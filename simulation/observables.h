#pragma once

#include "simulation/run_state.h"

// Mean squared displacement of the atoms of one species since placement, Å².
double meanSquaredDisplacement(const ParticleState& state, int species);
