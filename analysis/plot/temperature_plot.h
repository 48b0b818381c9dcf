#pragma once

#include "analysis/plot/gnuplot_script.h"
#include "analysis/read/energy_file.h"

// The thermostat's target, K: the run is fixed, and its files do not carry it.
inline constexpr double kTargetTemperature = 700.0;

// temperature.png: the temperature measured before each rescaling against time (ps), with the
// target. InputError (read/text_input.h) when the samples span more than an axis can. Needs
// samples.
Picture temperaturePicture(const EnergyFile& energy);
