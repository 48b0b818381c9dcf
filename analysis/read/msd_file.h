#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/read/text_input.h"

// One line of "msd.dat": "time,  MSD, ".
struct MsdSample {
    double time = 0.0;  // fs
    double msd = 0.0;   // Å², displacements never wrapped
};

struct MsdFile {
    std::string name;  // as messages name it
    std::vector<MsdSample> samples;
    bool incompleteLastLine = false;
};

// Read to the end of the file; a line beyond `mostLines` (the frames the header of position.dat
// announces) is refused.
MsdFile readMsdFile(LineReader& in, std::size_t mostLines);
