#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/text_input.h"

// The sample files give times in fs; the header of position.dat and the reports use ps.
inline constexpr double kFsPerPs = 1000.0;

// One line of "energy.dat": "time, KE+PE, KE, PE, T".
struct EnergySample {
    double time = 0.0;         // fs
    double total = 0.0;        // J/mol per atom
    double kinetic = 0.0;      // J/mol per atom
    double potential = 0.0;    // J/mol per atom
    double temperature = 0.0;  // K, measured before the thermostat rescales
};

// One line of "msd.dat": "time,  MSD, ".
struct MsdSample {
    double time = 0.0;  // fs
    double msd = 0.0;   // Å², displacements never wrapped
};

struct EnergyFile {
    std::string name;  // as messages name it
    std::vector<EnergySample> samples;
    bool incompleteLastLine = false;
};

struct MsdFile {
    std::string name;  // as messages name it
    std::vector<MsdSample> samples;
    bool incompleteLastLine = false;
};

// Read to the end of the file. A run writes one line per frame, so a line beyond `mostLines`
// (the frames the header of position.dat announces) is refused.
EnergyFile readEnergyFile(LineReader& in, std::size_t mostLines);
MsdFile readMsdFile(LineReader& in, std::size_t mostLines);
