#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/diffusion.h"
#include "analysis/output_file.h"
#include "analysis/pictures.h"
#include "analysis/sample_files.h"

// The thermostat's target, K: the run is fixed, and its files do not carry it.
inline constexpr double kTargetTemperature = 700.0;

// No gnuplot program could be found; the message says how to install it.
struct GnuplotMissing : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Draws energy.png and temperature.png (when there are energy samples) and msd.png (when there
// are MSD samples), with `extra`'s curves and pictures, in `dir` with gnuplot as pending
// `outputs`, and returns their names. Throws
// InputError (text_input.h) when the samples span more than an axis can, OutputError when a
// picture cannot take its name, GnuplotMissing, or
// std::runtime_error when gnuplot fails; no partial picture is then left.
std::vector<std::string> drawPlots(const std::filesystem::path& dir, PendingOutputs& outputs,
                                   const EnergyFile& energy, const MsdFile& msd,
                                   const std::optional<DiffusionFit>& fit,
                                   const ExtraPictures& extra);

// A gnuplot command that sends what is drawn next to the partial file of `name` in `dir`.
std::string gnuplotOutput(const std::filesystem::path& dir, const char* name);
