#include "report/command_line.h"

#include <cerrno>
#include <cstdio>
#include <string_view>

#include "report/line_sink.h"
#include "simulation/run_state.h"

namespace {

// Plain ASCII, readable on any terminal and in any code page, unlike the run's log. The run's
// figures come from its parameters.
constexpr std::string_view kUsage[] = {
    "Usage: argon-md             run the simulation (it takes no other arguments)",
    "       argon-md --help, -h  show this text",
    "       argon-md --version   show the version and how this build computes",
    "Neither question touches a file.",
    "",
};

constexpr std::string_view kConsoleAndReport[] = {
    "and a log of the run to standard output: Japanese text in Shift-JIS (code",
    "page 932). On a UTF-8 terminal read it with",
    "  argon-md | iconv -f CP932 -t UTF-8",
    "In a Windows console run `chcp 932` first.",
    "",
    "argon-md-report, built beside it (build/release/analysis/argon-md-report",
    "after `cmake --workflow --preset run`), turns the files of a run in DIR into",
    "a trajectory, plots, the diffusion coefficient and g(r):",
    "  argon-md-report [DIR]",
};

template <typename Lines>
void writeLines(LineSink& out, const Lines& lines) {
    for (const std::string_view line : lines) {
        out << line;
        out.endLine();
    }
}

void writeHelp(LineSink& out) {
    const RunParameters params{};
    writeLines(out, kUsage);
    out << "argon-md runs one fixed molecular-dynamics simulation: " << kAtomCount
        << " argon atoms";
    out.endLine();
    out << "interacting through the Lennard-Jones potential in a periodic cubic cell,";
    out.endLine();
    out << params.stepCount << " steps of " << params.dt << " fs at " << params.targetTemperature
        << " K. It reads no environment and no files, and every";
    out.endLine();
    out << "run writes the same bytes.";
    out.endLine();
    out.endLine();
    out << "It writes into the working directory, truncating any earlier run's files:";
    out.endLine();
    out << "  position.dat  the positions of the atoms (Angstrom) every " << kSampleInterval
        << "th step";
    out.endLine();
    out << "  energy.dat    time (fs), total, kinetic and potential energy (J/mol per";
    out.endLine();
    out << "                atom) and temperature (K), every " << kSampleInterval << "th step";
    out.endLine();
    out << "  msd.dat       time (fs) and mean squared displacement since the start";
    out.endLine();
    out << "                (Angstrom^2), every " << kSampleInterval << "th step";
    out.endLine();
    writeLines(out, kConsoleAndReport);
}

// The build's choices, as CMake made them for this program.
#if defined(ARGON_MD_FAST_KERNEL)
constexpr std::string_view kKernel = "fast";
#else
constexpr std::string_view kKernel = "reference";
#endif

void writeVersion(LineSink& out) {
    out << "argon-md " << ARGON_MD_VERSION;
    out.endLine();
    out << "arithmetic: " << (kExtendedArithmetic ? "extended" : "double");
    out.endLine();
    out << "power: " << ARGON_MD_POWER_KIND;
    out.endLine();
    out << "kernel: " << kKernel;
    out.endLine();
}

}  // namespace

int answerArguments(int argc, const char* const argv[], bool consoleClosed) {
    const std::string_view question = argc == 2 ? argv[1] : "";
    const bool help = question == "--help" || question == "-h";
    if (!help && question != "--version") {
        // Standard error is a text stream, as for every message of the program: the
        // platform's line end.
        std::fputs("argon-md takes no arguments; see argon-md --help\n", stderr);
        return 2;
    }
    // The answer's lines end with CR LF, as every line the program writes to standard output
    // does on every platform: it is then the same bytes on Linux and on Windows, like the run's
    // (one test holds both to them), and a terminal shows CR LF as a plain line end.
    LineSink out(stdout, "standard output");
    if (consoleClosed) {
        out.markLost(EBADF);
    }
    if (help) {
        writeHelp(out);
    } else {
        writeVersion(out);
    }
    out.close();
    return out.failed() ? 1 : 0;
}
