#include "analysis/report_run.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/diffusion.h"
#include "analysis/formatted.h"
#include "analysis/gnuplot_process.h"
#include "analysis/msd_average.h"
#include "analysis/msd_rdf_text.h"
#include "analysis/multi_origin_fit.h"
#include "analysis/pictures.h"
#include "analysis/plots.h"
#include "analysis/position_file.h"
#include "analysis/rdf.h"
#include "analysis/report_text.h"
#include "analysis/run_counts.h"
#include "analysis/run_directory.h"
#include "analysis/sample_files.h"
#include "analysis/staging.h"
#include "analysis/text_input.h"
#include "analysis/unwrap.h"
#include "analysis/xyz.h"

namespace {

// Keeps the first `count` samples.
template <typename File>
void keepFirst(File& file, std::size_t count) {
    file.samples.resize(count);
}

// The fit of D over the MSD samples; the sums over the samples of a run stay far inside the
// range of numbers, but values near its end can take them outside it.
std::optional<DiffusionFit> fitRun(const MsdFile& msd, const std::string& file) {
    std::vector<double> time;
    std::vector<double> values;
    for (const auto& s : msd.samples) {
        time.push_back(s.time / kFsPerPs);
        values.push_back(s.msd);
    }
    const auto fit = fitDiffusion(time, values);
    if (fit && !(std::isfinite(fit->slope) && std::isfinite(fit->slopeError) &&
                 std::isfinite(fit->intercept))) {
        throw InputError(formatted(
            "%s, lines %zu to %zu: the least-squares line through them lies beyond the range "
            "of numbers",
            file.c_str(), fit->first + 1, fit->last + 1));
    }
    return fit;
}

// A line of the report on standard output, printable whatever the files and DIR hold.
void say(const std::string& line) {
    std::cout << printable(line) << '\n';
}

// The position file's fault when a frame cannot be followed: a frame short of lines is named at
// the line where its lines begin to belong to the next atoms.
[[noreturn]] void refuseFrame(const std::string& file, const PositionFile& positions,
                              const UnwrapError& e) {
    if (e.linesMissing == 0) {
        throw InputError(file + ": " + e.what());
    }
    const auto atoms = static_cast<std::size_t>(positions.atomCount);
    failAt(file, kPositionHeaderLines + e.frame * atoms + e.atom + 1, e.what());
}

}  // namespace

int reportRun(const std::filesystem::path& path,
              const std::function<void(const std::string&)>& complain) {
    const RunDirectory dir(path);
    const std::string positionName = dir.nameOf("position.dat");

    // The sample files are read first, being small, so that the frames, the bulk of the run,
    // stream past once and are handed over as they come.
    LineReader positionText(dir, "position.dat");
    PositionFile positions = readPositionHeader(positionText);
    const auto planned = static_cast<std::size_t>(positions.plannedFrames);
    EnergyFile energy;
    {
        LineReader in(dir, "energy.dat");
        energy = readEnergyFile(in, planned);
    }
    MsdFile msd;
    {
        LineReader in(dir, "msd.dat");
        msd = readMsdFile(in, planned);
    }

    std::vector<std::string> leftovers;
    Staging staging(dir, leftovers);
    for (const auto& name : leftovers) {
        say("removed " + name + ", the staging directory of a report that was stopped");
    }
    const char* xyzName = "trajectory.xyz";
    std::FILE* xyz = staging.open(xyzName);
    // Why the trajectory cannot be written, told as soon as it fails: a full disk, say.
    const auto xyzFailed = [&] { cannotWrite(dir.nameOf(xyzName), std::strerror(errno)); };
    // The frames, unwrapped, are all the report keeps of them.
    UnwrappedTrajectory trajectory =
        startTrajectory(static_cast<std::size_t>(positions.atomCount), positions.edge,
                        positions.startTime, positions.frameInterval);
    const std::size_t handedOver = framesToHandOver(energy.samples.size(), msd.samples.size());
    // Held at their size from the start: growing by doubling would, for a moment, take twice it.
    trajectory.positions.reserve(std::min(handedOver, planned) * trajectory.atomCount * 3);
    std::string frameText;
    readPositionFrames(
        positionText, positions, handedOver,
        [&](std::size_t frame, std::span<const double> coordinates) {
            try {
                addFrame(trajectory, coordinates);
            } catch (const UnwrapError& e) {
                refuseFrame(positionName, positions, e);
            }
            frameText.clear();
            appendXyzFrame(frameText, positions, frame, coordinates);
            errno = 0;
            if (std::fwrite(frameText.data(), 1, frameText.size(), xyz) != frameText.size()) {
                xyzFailed();
            }
        });
    staging.close(xyzName);

    const ReportedCounts counts =
        reconcileCounts(energy.samples.size(), positions.frameCount, msd.samples.size());
    if (counts.msd == 0) {
        throw InputError(formatted(
            "%s: no complete sample in position.dat, energy.dat and msd.dat (energy lines: "
            "%zu, frames: %zu, MSD lines: %zu): nothing to report",
            displayed(dir.path()).c_str(), energy.samples.size(), positions.frameCount,
            msd.samples.size()));
    }
    std::vector<std::string> notes;
    if (!counts.shortFile.empty()) {
        notes.push_back(formatted(
            "%s is shorter than the other two files, as a full disk leaves it (%zu energy "
            "lines, %zu frames, %zu MSD lines): the %zu samples all three hold are reported",
            counts.shortFile.c_str(), energy.samples.size(), positions.frameCount,
            msd.samples.size(), counts.msd));
        keepFirst(energy, counts.energy);
        keepFirst(msd, counts.msd);
        if (counts.frames < positions.frameCount) {
            positions.frameCount = counts.frames;
            positions.cutOffLines = 0;  // the lines left out are no longer the last
        }
    }
    for (const auto& line : runSummary(positions, energy, msd)) {
        say(line);
    }
    for (const auto& line : notes) {
        say(line);
    }

    const std::size_t settled = settledFrame(trajectory);
    const bool hasRdf = settled < frameCount(trajectory) && trajectory.atomCount > 1;
    const Rdf rdf = hasRdf ? radialDistribution(trajectory, settled) : Rdf{};
    const auto shell = hasRdf ? firstShell(rdf) : std::nullopt;
    const double rdfFrom = frameTimePs(trajectory, settled);
    if (hasRdf) {
        say(firstShellLine(rdf, rdfFrom, shell));
        staging.write("rdf.txt", rdfText(rdf, rdfFrom));
    } else {
        say(formatted("no g(r): no frames from %g ps on", kRdfStartTime));
    }

    const MsdAverage average = averageMsd(trajectory);
    staging.write("msd-average.txt", msdAverageText(average));
    const auto averageFit = fitMultiOrigin(average, trajectory);
    // The header's bounds keep every displacement finite; this keeps that promise checked.
    if (averageFit && !(std::isfinite(averageFit->slope) && std::isfinite(averageFit->intercept) &&
                        std::isfinite(averageFit->dError))) {
        throw InputError(positionName +
                         ": the MSD averaged over every time origin lies beyond the range of "
                         "numbers");
    }
    const auto fit = fitRun(msd, msd.name);
    // D from the MSD over every time origin first; the single-origin fit follows for comparison.
    std::vector<std::string> diffusionLines = multiOriginReport(average, averageFit);
    for (auto& line : diffusionReport(msd, fit)) {
        diffusionLines.push_back(std::move(line));
    }
    std::string diffusion;
    for (const auto& line : diffusionLines) {
        say(line);
        diffusion += line + '\n';
    }
    staging.write("diffusion.txt", diffusion);

    // Faults that leave the report standing, told once it stands: a refusal after them would
    // make them noise.
    std::vector<std::string> faults;
    if (!averageFit) {
        faults.push_back(positionName +
                         ": the MSD averaged over every time origin grows linearly over too few "
                         "lags to fit D");
    }
    if (!fit) {
        faults.push_back(msd.name + ": no stretch of linear MSD growth long enough to fit D");
    }
    try {
        const ExtraPictures extra =
            extraPictures(trajectory, average, averageFit, hasRdf ? &rdf : nullptr, shell);
        drawPlots(staging, energy, msd, fit, extra);
    } catch (const InputError&) {
        throw;
    } catch (const OutputError&) {
        throw;
    } catch (const GnuplotMissing& e) {
        faults.push_back(
            "gnuplot was not found, so no pictures were drawn (trajectory.xyz and the text files "
            "were written); " +
            std::string(e.what()));
    } catch (const std::runtime_error& e) {
        faults.push_back(e.what());
    }

    for (const auto& name : staging.commit()) {
        say("wrote " + dir.nameOf(name) +
            (name == xyzName ? formatted(" (%zu frames)", positions.frameCount) : ""));
    }
    for (const auto& fault : faults) {
        complain(fault);
    }
    const int status = faults.empty() ? 0 : 1;
    return status;
}
