#pragma once

#include <string>

#include "analysis/compute/msd_average.h"

// "msd-average.txt": two comment lines (what it holds, the columns' names), then "lag MSD
// origins" per lag (ps, Å², count).
std::string msdAverageText(const MsdAverage& msd);
