#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/diffusion.h"
#include "analysis/position_file.h"
#include "analysis/sample_files.h"

// What was found in the three files, and whether the run stopped early.
std::vector<std::string> runSummary(const PositionFile& positions, const EnergyFile& energy,
                                    const MsdFile& msd);

// The lines of "diffusion.txt": the samples, the window, the slope and D, or why there is no D.
std::vector<std::string> diffusionReport(const MsdFile& msd,
                                         const std::optional<DiffusionFit>& fit);
