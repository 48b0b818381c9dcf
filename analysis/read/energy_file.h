#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/read/text_input.h"

// One line of "energy.dat": "time, KE+PE, KE, PE, T".
struct EnergySample {
    double time = 0.0;         // fs
    double total = 0.0;        // J/mol per atom
    double kinetic = 0.0;      // J/mol per atom
    double potential = 0.0;    // J/mol per atom
    double temperature = 0.0;  // K, measured before the thermostat rescales
};

struct EnergyFile {
    std::string name;  // as messages name it
    std::vector<EnergySample> samples;
    bool incompleteLastLine = false;
};

// Read to the end of the file; a line beyond `mostLines` (the frames the header of position.dat
// announces) is refused.
EnergyFile readEnergyFile(LineReader& in, std::size_t mostLines);
