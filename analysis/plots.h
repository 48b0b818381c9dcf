#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/diffusion.h"
#include "analysis/pictures.h"
#include "analysis/sample_files.h"

// The thermostat's target, K: the run is fixed, and its files do not carry it.
inline constexpr double kTargetTemperature = 700.0;

// No gnuplot program could be found; the message says how to install it.
struct GnuplotMissing : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Draws energy.png and temperature.png (when there are energy samples) and msd.png (when there
// are MSD samples) in `dir` with gnuplot, with `extra`'s curves and pictures, and returns the
// names of the pictures written. Throws GnuplotMissing, or std::runtime_error when gnuplot
// fails; no partial picture is left.
std::vector<std::string> drawPlots(const std::filesystem::path& dir, const EnergyFile& energy,
                                   const MsdFile& msd, const std::optional<DiffusionFit>& fit,
                                   const ExtraPictures& extra);
