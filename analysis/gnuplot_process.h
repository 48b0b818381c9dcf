#pragma once

#include <filesystem>

// Runs gnuplot, found on the PATH, on a script file and returns its exit status (-1 when it was
// killed). Throws GnuplotMissing (plots.h), whose message says how to install it, when there is
// no gnuplot, and std::runtime_error when it cannot be started or waited for.
// The platform's part is in gnuplot_process_posix.cpp or gnuplot_process_windows.cpp.
int runGnuplot(const std::filesystem::path& script);
