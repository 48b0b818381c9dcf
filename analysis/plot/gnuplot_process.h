#pragma once

#include <stdexcept>

class Staging;

// No gnuplot program could be found; the message says how to install it.
struct GnuplotMissing : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Runs gnuplot, found on the PATH (never in the run's directory), on its script
// kPlotScript in the staging directory, with that directory as gnuplot's working directory:
// the script names only the fixed names of what the report wrote there, and of the pictures
// gnuplot writes beside them. gnuplot's standard output and error go to kPlotMessages there.
// Returns gnuplot's exit status (-1 when it was killed). Throws
// GnuplotMissing when there is no gnuplot, and std::runtime_error when it cannot be started or
// waited for. While it runs, a stop (stops.h) ends it.
// The platform's part is in gnuplot_process_posix.cpp or gnuplot_process_windows.cpp.
int runGnuplot(const Staging& staging);

// Ends the gnuplot that runs, if any, and waits for it. Safe in a signal handler.
void endRunningGnuplot();
