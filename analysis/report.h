#pragma once

#include <filesystem>
#include <functional>
#include <string>

// Reports the run whose files are in `dir`: a summary and D on standard output, and the
// trajectory, D, the averaged MSD, g(r), the pictures and report.html (the page that holds them
// all) as files beside the run's, staged until the whole report stands (write/staging.h). Throws
// InputError (read/text_input.h) for files it refuses and OutputError (write/staging.h) for outputs
// it cannot write, leaving `dir` as it was. Other faults (no D, no gnuplot) go to `complain` and
// make the status non-zero, the rest of the report still written.
int reportRun(const std::filesystem::path& dir,
              const std::function<void(const std::string&)>& complain);
