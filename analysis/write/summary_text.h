#pragma once

#include <string>
#include <vector>

#include "analysis/read/energy_file.h"
#include "analysis/read/msd_file.h"
#include "analysis/read/position_file.h"
#include "analysis/read/run_counts.h"

// What was found in the three files, and whether the run stopped early.
std::vector<std::string> runSummary(const PositionFile& positions, const EnergyFile& energy,
                                    const MsdFile& msd);

// That one file is shorter than the other two, which are reported for the samples all three
// hold; `energyLines`, `frames` and `msdLines` are what the files held.
std::string shortFileNote(const ReportedCounts& counts, std::size_t energyLines, std::size_t frames,
                          std::size_t msdLines);
