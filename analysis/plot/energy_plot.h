#pragma once

#include "analysis/plot/gnuplot_script.h"
#include "analysis/read/energy_file.h"

// energy.png: kinetic, potential and total energy per atom (J/mol) against time (ps), a panel
// each on its own scale, the hot start off it; with why the total is not conserved (the
// thermostat). InputError (read/text_input.h) when the samples span more than an axis can.
// Needs samples.
Picture energyPicture(const EnergyFile& energy);
