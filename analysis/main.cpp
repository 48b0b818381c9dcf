// argon-md-report: turns the files of an argon-md run into one page of its report, a trajectory
// for molecular viewers, plots, the self-diffusion coefficient, g(r) and a check of the run
// against the known Lennard-Jones fluid.
#include <cerrno>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

#include "analysis/formatted.h"
#include "analysis/report.h"
#include "analysis/stops.h"

namespace {

constexpr const char* kUsage =
    "usage: argon-md-report [DIR]\n"
    "       argon-md-report --version\n"
    "Reads position.dat, energy.dat and msd.dat of an argon-md run in DIR (default: the current\n"
    "directory) and writes beside them report.html (the whole report on one page: open it in\n"
    "a browser), validation.txt (the run against the known Lennard-Jones fluid),\n"
    "diffusion.txt, msd-average.txt, rdf.txt, trajectory.xyz, energy.png, temperature.png,\n"
    "msd.png, rdf.png, snapshot.png and trajectory.gif. It writes nothing else, and nothing\n"
    "outside DIR.\n";

// Why standard output failed, in the system's words at the time; empty while it works. Kept
// because whatever runs after the failure (gnuplot, say) overwrites errno.
std::string outputFailure;

void flushOutput() {
    if (outputFailure.empty() && !std::cout.flush()) {
        outputFailure = std::strerror(errno);
    }
}

// A complaint on standard error after what standard output already holds, so that the two
// read in order on a terminal.
void complain(const std::string& message) {
    flushOutput();
    std::cerr << "argon-md-report: " << printable(message) << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    int status = 0;
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << "argon-md-report " ARGON_MD_VERSION "\n";
    } else if (argc > 2 || (argc == 2 && (std::string_view(argv[1]) == "-h" ||
                                          std::string_view(argv[1]) == "--help"))) {
        (argc > 2 ? std::cerr : std::cout) << kUsage;
        status = argc > 2 ? 2 : 0;
    } else {
        catchStops();
        try {
            status = reportRun(argc == 2 ? argv[1] : ".", complain);
        } catch (const std::exception& e) {
            complain(e.what());
            status = 1;
        }
    }
    // A report that never reached its reader is no success, though the files were written.
    flushOutput();
    if (!outputFailure.empty()) {
        complain("standard output: " + outputFailure);
        return status != 0 ? status : 1;
    }
    return status;
}
