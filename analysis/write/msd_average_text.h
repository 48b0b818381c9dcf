#pragma once

#include <string>

#include "analysis/compute/msd_average.h"

// "msd-average.txt": a header line, then "lag MSD origins" per lag (ps, Å², count).
std::string msdAverageText(const MsdAverage& msd);
