#pragma once

#include <cstddef>

#include "analysis/plot/gnuplot_script.h"
#include "analysis/read/energy_file.h"

// The running mean of temperature.png takes this many samples, centred on each (2 ps of the
// program's run): long enough to smooth the scatter of a few per cent, short enough to show a
// drift.
inline constexpr std::size_t kMeanSamples = 51;

// temperature.png: the temperature measured before each rescaling against time (ps), its running
// mean, and the thermostat's target (the simulation's own) drawn on top. InputError
// (read/text_input.h) when the samples span more than an axis can. Needs samples.
Picture temperaturePicture(const EnergyFile& energy);
