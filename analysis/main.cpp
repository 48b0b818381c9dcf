// argon-md-report: turns the files of an argon-md run into a trajectory for molecular viewers,
// plots of energy, temperature and MSD, and the self-diffusion coefficient.
#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/diffusion.h"
#include "analysis/msd_average.h"
#include "analysis/msd_rdf_text.h"
#include "analysis/multi_origin_fit.h"
#include "analysis/output_file.h"
#include "analysis/pictures.h"
#include "analysis/plots.h"
#include "analysis/position_file.h"
#include "analysis/rdf.h"
#include "analysis/report_text.h"
#include "analysis/sample_files.h"
#include "analysis/text_input.h"
#include "analysis/unwrap.h"
#include "analysis/xyz.h"

namespace {

constexpr const char* kUsage =
    "usage: argon-md-report [DIR]\n"
    "Reads position.dat, energy.dat and msd.dat of an argon-md run in DIR (default: the current\n"
    "directory) and writes trajectory.xyz, energy.png, temperature.png, msd.png,\n"
    "msd-average.txt, diffusion.txt, rdf.txt, rdf.png, snapshot.png and trajectory.gif beside\n"
    "them.\n";

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
    std::cerr << "argon-md-report: " << message << '\n';
}

// Stand-in for a reader that hands over each frame as it reads it: the frames of the whole file,
// one after the other. To be replaced by the streaming reader.
UnwrappedTrajectory unwrapFrames(const PositionFile& p, const std::filesystem::path& file) {
    const auto atoms = static_cast<std::size_t>(p.atomCount);
    UnwrappedTrajectory t = startTrajectory(atoms, p.edge, p.startTime, p.frameInterval);
    std::vector<double> frame;
    for (std::size_t line = 0; line < p.frameCount * atoms; ++line) {
        for (const auto word : splitWords(p.atomLines[line])) {
            frame.push_back(parseNumber(word, file.string(), line + 4));
        }
        if (frame.size() == atoms * 3) {
            try {
                addFrame(t, frame);
            } catch (const UnwrapError& e) {
                throw InputError(file.string() + ": " + e.what());
            }
            frame.clear();
        }
    }
    return t;
}

struct Run {
    PositionFile positions;
    UnwrappedTrajectory trajectory;
    EnergyFile energy;
    MsdFile msd;
};

Run readRun(const std::filesystem::path& dir) {
    if (!std::filesystem::is_directory(dir)) {
        throw InputError(dir.string() + ": no such directory");
    }
    const auto read = [&](const char* name) {
        return std::pair{readTextFile(dir / name), (dir / name).string()};
    };
    Run run;
    {
        const auto [text, file] = read("position.dat");
        run.positions = parsePositionFile(text, file);
        run.trajectory = unwrapFrames(run.positions, file);
    }
    {
        const auto [text, file] = read("energy.dat");
        run.energy = parseEnergyFile(text, file);
    }
    {
        const auto [text, file] = read("msd.dat");
        run.msd = parseMsdFile(text, file);
    }
    return run;
}

std::optional<DiffusionFit> fitRun(const MsdFile& msd) {
    std::vector<double> time;
    std::vector<double> values;
    for (const auto& s : msd.samples) {
        time.push_back(s.time / kFsPerPs);
        values.push_back(s.msd);
    }
    return fitDiffusion(time, values);
}

int report(const std::filesystem::path& dir) {
    const Run run = readRun(dir);
    for (const auto& line : runSummary(run.positions, run.energy, run.msd)) {
        std::cout << line << '\n';
    }
    const std::size_t settled = settledFrame(run.trajectory);
    const bool hasRdf = settled < frameCount(run.trajectory) && run.trajectory.atomCount > 1;
    const Rdf rdf = hasRdf ? radialDistribution(run.trajectory, settled) : Rdf{};
    const auto shell = hasRdf ? firstShell(rdf) : std::nullopt;
    const double rdfFrom = frameTimePs(run.trajectory, settled);
    if (hasRdf) {
        std::cout << firstShellLine(rdf, rdfFrom, shell) << '\n';
    } else {
        std::cout << "no g(r): no frames from " << kRdfStartTime << " ps on\n";
    }

    writeFileAtomically(dir / "trajectory.xyz", formatXyz(run.positions));
    std::cout << "wrote " << (dir / "trajectory.xyz").string() << " (" << run.positions.frameCount
              << " frames)\n";

    const MsdAverage average = averageMsd(run.trajectory);
    writeFileAtomically(dir / "msd-average.txt", msdAverageText(average));
    std::cout << "wrote " << (dir / "msd-average.txt").string() << '\n';
    if (hasRdf) {
        writeFileAtomically(dir / "rdf.txt", rdfText(rdf, rdfFrom));
        std::cout << "wrote " << (dir / "rdf.txt").string() << '\n';
    }

    const auto averageFit = fitMultiOrigin(average);
    const auto fit = fitRun(run.msd);
    std::string diffusion;
    std::vector<std::string> diffusionLines = multiOriginReport(average, averageFit);
    for (auto& line : diffusionReport(run.msd, fit)) {
        diffusionLines.push_back(std::move(line));
    }
    for (const auto& line : diffusionLines) {
        std::cout << line << '\n';
        diffusion += line + '\n';
    }
    writeFileAtomically(dir / "diffusion.txt", diffusion);
    std::cout << "wrote " << (dir / "diffusion.txt").string() << '\n';

    int status = 0;
    if (!averageFit) {
        complain((dir / "position.dat").string() +
                 ": the MSD averaged over every time origin grows linearly over too few lags "
                 "to fit D");
        status = 1;
    }
    if (!fit) {
        complain((dir / "msd.dat").string() +
                 ": no stretch of linear MSD growth long enough to fit D");
        status = 1;
    }
    try {
        const ExtraPictures extra =
            extraPictures(dir, run.trajectory, average, averageFit, hasRdf ? &rdf : nullptr, shell);
        const auto pictures = drawPlots(dir, run.energy, run.msd, fit, extra);
        for (const auto& name : pictures) {
            std::cout << "wrote " << (dir / name).string() << '\n';
        }
        if (pictures.size() < 3 + extra.names.size()) {
            complain(std::string("no samples to plot in ") +
                     (run.energy.samples.empty() ? "energy.dat" : "msd.dat"));
            status = 1;
        }
    } catch (const GnuplotMissing& e) {
        complain(
            "gnuplot was not found, so no pictures were drawn (trajectory.xyz and the text files "
            "were written); " +
            std::string(e.what()));
        status = 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    int status = 0;
    if (argc > 2 || (argc == 2 && (std::string_view(argv[1]) == "-h" ||
                                   std::string_view(argv[1]) == "--help"))) {
        (argc > 2 ? std::cerr : std::cout) << kUsage;
        status = argc > 2 ? 2 : 0;
    } else {
        try {
            status = report(argc == 2 ? argv[1] : ".");
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
