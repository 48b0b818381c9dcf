#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/diffusion.h"
#include "analysis/pictures.h"
#include "analysis/sample_files.h"
#include "analysis/staging.h"

// The thermostat's target, K: the run is fixed, and its files do not carry it.
inline constexpr double kTargetTemperature = 700.0;

// Draws energy.png and temperature.png (when there are energy samples) and msd.png (when there
// are MSD samples), with `extra`'s curves and pictures, with gnuplot in the staging directory,
// and returns their names. Throws InputError (text_input.h) when the samples span more than an
// axis can, OutputError when a picture cannot take its name, GnuplotMissing
// (gnuplot_process.h), or std::runtime_error when gnuplot fails; no picture is then left.
std::vector<std::string> drawPlots(Staging& staging, const EnergyFile& energy, const MsdFile& msd,
                                   const std::optional<DiffusionFit>& fit,
                                   const ExtraPictures& extra);

// A gnuplot command that sends what is drawn next to output `name`, one of kOutputNames, in
// gnuplot's working directory.
std::string gnuplotOutput(const char* name);
