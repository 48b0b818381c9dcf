#pragma once

#include "analysis/plot/gnuplot_script.h"
#include "analysis/read/energy_file.h"

// energy.png: kinetic, potential and total energy per atom (J/mol) against time (ps), the hot
// start off the scale. InputError (read/text_input.h) when the samples span more than an axis
// can. Needs samples.
Picture energyPicture(const EnergyFile& energy);
