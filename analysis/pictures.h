#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/msd_average.h"
#include "analysis/multi_origin_fit.h"
#include "analysis/rdf.h"
#include "analysis/unwrap.h"

// What the averaged MSD, g(r) and the atoms add to the gnuplot script of the plots: curves for
// msd.png, and the script and names of rdf.png, snapshot.png and trajectory.gif.
struct ExtraPictures {
    std::string msdData;    // data blocks, before msd.png's plot command
    std::string msdCurves;  // ", ..." clauses appended to msd.png's plot command
    std::string script;     // draws the pictures below into gnuplot's working directory
    std::vector<std::string> names;
};

// rdf.png is drawn when `rdf` is given.
ExtraPictures extraPictures(const UnwrappedTrajectory& trajectory, const MsdAverage& msd,
                            const std::optional<MultiOriginFit>& fit, const Rdf* rdf,
                            const std::optional<FirstShell>& shell);

// Every frame of the animation is one of this many; a stopped run of few frames shows them all.
inline constexpr std::size_t kAnimationStride = 10;
inline constexpr std::size_t kAnimationFrames = 50;       // at least, when the run has as many
inline constexpr std::size_t kMostAnimationFrames = 200;  // at most: a longer run is thinned
// Atoms drawn over all the pictures at most, which bounds the script that holds them.
inline constexpr std::size_t kMostAnimationAtoms = 200'000;
std::size_t animationStride(std::size_t frames, std::size_t atoms);
