#pragma once

#include <optional>

#include "analysis/compute/diffusion.h"
#include "analysis/compute/single_origin_fit_for_comparison.h"
#include "analysis/plot/gnuplot_script.h"
#include "analysis/read/msd_file.h"

// msd.png. The main panel: the MSD averaged over every time origin against the lag, D ± its
// error in the title and the fitted line over its shaded window. Below it, for comparison, the
// MSD of msd.dat against time with its single-origin line, its window not shaded. InputError
// (read/text_input.h) when the times of msd.dat span more than an axis can (the lags cannot:
// position.dat's header bounds them). Needs msd.dat's samples.
Picture msdPicture(const MsdFile& msd, const std::optional<SingleOriginFit>& singleOrigin,
                   const MsdAverage& average, const std::optional<DiffusionFit>& fit);
