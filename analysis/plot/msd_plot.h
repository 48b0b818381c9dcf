#pragma once

#include <optional>

#include "analysis/compute/diffusion.h"
#include "analysis/compute/single_origin_fit_for_comparison.h"
#include "analysis/plot/gnuplot_script.h"
#include "analysis/read/msd_file.h"

// msd.png: the MSD of msd.dat against time, with its single-origin line over the shaded window,
// and beside it the MSD averaged over every time origin against the lag, with its own line.
// Needs msd.dat's samples.
Picture msdPicture(const MsdFile& msd, const std::optional<SingleOriginFit>& singleOrigin,
                   const MsdAverage& average, const std::optional<DiffusionFit>& fit);
