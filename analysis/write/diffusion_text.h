#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/compute/diffusion.h"
#include "analysis/compute/single_origin_fit_for_comparison.h"
#include "analysis/read/msd_file.h"

// Why the MSD averaged over every time origin gives no D: the run too short for it (its length
// and the length D needs), or atoms that do not spread out.
std::string noDiffusionReason(const MsdAverage& average);

// D ± its error and where its time origins start, in one line for standard output; or why
// there is no D.
std::string diffusionSummary(const MsdAverage& average, const std::optional<DiffusionFit>& fit);

// The lines of "diffusion.txt": D from the MSD averaged over every time origin,
// its window and its error, or why there is none; then, for comparison, the single-origin fit
// of msd.dat: its samples, window, slope and D, or why there is none.
std::vector<std::string> diffusionLines(const MsdAverage& average,
                                        const std::optional<DiffusionFit>& fit, const MsdFile& msd,
                                        const std::optional<SingleOriginFit>& singleOrigin);
