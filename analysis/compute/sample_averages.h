#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "analysis/compute/block_average.h"
#include "analysis/read/energy_file.h"

// The run's means from t_eq on (compute/equilibration.h), each with its standard error by block
// averaging: energy.dat's temperature and energies, and the pressure of the frames.
struct SampleAverages {
    std::size_t samples = 0;  // energy.dat's samples from t_eq on
    double fromTime = 0.0;    // ps, of the first of them
    // None when fewer than kFewestBlocks samples: then no average is reported.
    std::optional<BlockAverage> temperature;  // K, as the run measures it (3N degrees of freedom)
    std::optional<BlockAverage> kinetic;      // J/mol per atom
    std::optional<BlockAverage> potential;    // J/mol per atom
    std::optional<BlockAverage> total;        // J/mol per atom
    std::size_t pressureSamples = 0;          // frames whose pressure was taken
    std::optional<BlockAverage> pressure;     // Pa, the virial of the forces cut at r_c
};

// `pressure` holds the pressure of each frame from t_eq on (compute/pressure.h). Throws
// InputError, naming `energy`'s file or `positionName`, when a mean or its error lies beyond
// the range of numbers.
SampleAverages averageSamples(const EnergyFile& energy, std::span<const double> pressure,
                              const std::string& positionName);
