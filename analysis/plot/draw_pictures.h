#pragma once

#include <string>
#include <vector>

#include "analysis/plot/gnuplot_script.h"
#include "analysis/write/staging.h"

// Draws `pictures` with one run of gnuplot in the staging directory, in their order (the
// animation last), after the settings they share; each becomes an output of the staging, and
// their names are returned. Throws OutputError when a picture cannot take its name in the run's
// directory, GnuplotMissing (gnuplot_process.h), or std::runtime_error when gnuplot fails, its
// message followed by gnuplot's last lines, one a line; no picture is then left. What gnuplot
// says when it succeeds is not shown.
std::vector<std::string> drawPictures(Staging& staging, const std::vector<Picture>& pictures);
