#pragma once

#include <cstddef>
#include <optional>

#include "analysis/compute/rdf.h"

// The first peak of g(r) located between the bins. The peak of a dilute fluid is broad and low
// (g about 1.2 over an ångström), so a single bin's noise moves the highest bin by several bins,
// and its steep inner side biases a parabola in r. But in the dilute limit g = e^(-u/kT), and
// the Lennard-Jones u = 4ε (x² - x) with x = (σ/r)⁶: ln g is a parabola in x, exactly, peaked
// at x = 1/2 (r = 2^(1/6) σ); the density bends it only slightly (known_fluid/pair_distribution.h).
// So a least-squares parabola in x through ln g of the bins within kPeakHalfWindow of the highest
// bin of the smoothed g gives the peak as its vertex: on the first-order g of the run's state it
// lands within 0.005 Å of the true maximum, where a parabola in r over the same bins misses by
// up to 0.14 Å.
inline constexpr double kPeakHalfWindow = 0.5;  // Å

struct FittedPeak {
    double position = 0.0;       // Å
    double positionError = 0.0;  // Å, from the bins' noise (binNoise), each bin independent
    double height = 0.0;         // g at the vertex
    double heightError = 0.0;
    std::size_t first = 0;  // the bins fitted, both included
    std::size_t last = 0;
};

// `sigma` (Å) the Lennard-Jones σ of the run. None when the window reaches beyond the bins, a bin
// in it is empty, or ln g bends upwards or puts the vertex outside it.
std::optional<FittedPeak> fitPeak(const Rdf& rdf, const FirstShell& shell, double sigma);
