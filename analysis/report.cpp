// The report's order: read the run's small files and position.dat's header, stream the frames
// through the analyses, conclude, write the text outputs, draw the pictures, write the page that
// holds them all, commit.
//
// An analysis is a struct of its own in compute/ with free functions that prepare it, take a
// frame (addFrame) and conclude; adding one is a member of Analyses, a line in prepareAnalyses,
// streamFrames and conclude. An output is a file in write/ or plot/, its name in kOutputNames
// (write/staging.h), and a line in writeTextOutputs or pictures.
#include "analysis/report.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <vector>

#include "analysis/compute/diffusion.h"
#include "analysis/compute/equilibration.h"
#include "analysis/compute/msd_average.h"
#include "analysis/compute/picture_frames.h"
#include "analysis/compute/pressure.h"
#include "analysis/compute/rdf.h"
#include "analysis/compute/rdf_peak.h"
#include "analysis/compute/sample_averages.h"
#include "analysis/compute/single_origin_fit_for_comparison.h"
#include "analysis/compute/unwrap.h"
#include "analysis/formatted.h"
#include "analysis/known_fluid/run_check.h"
#include "analysis/page/page_contents.h"
#include "analysis/page/report_page.h"
#include "analysis/plot/draw_pictures.h"
#include "analysis/plot/energy_plot.h"
#include "analysis/plot/gnuplot_process.h"
#include "analysis/plot/msd_plot.h"
#include "analysis/plot/rdf_plot.h"
#include "analysis/plot/snapshot_picture.h"
#include "analysis/plot/temperature_plot.h"
#include "analysis/plot/trajectory_animation.h"
#include "analysis/read/energy_file.h"
#include "analysis/read/msd_file.h"
#include "analysis/read/position_file.h"
#include "analysis/read/run_counts.h"
#include "analysis/read/run_directory.h"
#include "analysis/write/diffusion_text.h"
#include "analysis/write/msd_average_text.h"
#include "analysis/write/rdf_text.h"
#include "analysis/write/staging.h"
#include "analysis/write/summary_text.h"
#include "analysis/write/trajectory_xyz.h"
#include "analysis/write/validation_table.h"
#include "analysis/write/validation_text.h"

namespace {

// A line of the report on standard output, printable whatever the files and DIR hold.
void say(const std::string& line) {
    std::cout << printable(line) << '\n';
}

// The run's files: position.dat's header, its frames still to stream past, and the sample files,
// which are small and read first.
struct RunFiles {
    PositionFile positions;
    EnergyFile energy;
    MsdFile msd;
    std::size_t handedOver = 0;  // the frames the analyses take (run_counts.h)
};

// Every analysis the frames stream through.
struct Analyses {
    UnwrappedTrajectory trajectory;  // kept for the MSD, D and the pictures
    RdfAnalysis rdf;
    PressureAnalysis pressure;
};

// What the analyses conclude.
struct Conclusions {
    MsdAverage average;
    std::optional<DiffusionFit> diffusion;
    std::optional<SingleOriginFit> singleOrigin;
    std::optional<Rdf> rdf;
    std::optional<FirstShell> shell;
    std::optional<FittedPeak> peak;
    std::optional<PictureFrames> frames;
    SampleAverages averages;  // from t_eq on
    RunCheck check;           // against the known Lennard-Jones fluid
};

RunFiles readRunFiles(const RunDirectory& dir, LineReader& positionText) {
    RunFiles files;
    files.positions = readPositionHeader(positionText);
    const auto planned = static_cast<std::size_t>(files.positions.plannedFrames);
    LineReader energy(dir, "energy.dat");
    files.energy = readEnergyFile(energy, planned);
    LineReader msd(dir, "msd.dat");
    files.msd = readMsdFile(msd, planned);
    files.handedOver = framesToHandOver(files.energy.samples.size(), files.msd.samples.size());
    return files;
}

Analyses prepareAnalyses(const RunFiles& files) {
    const PositionFile& p = files.positions;
    const auto atoms = static_cast<std::size_t>(p.atomCount);
    const std::size_t most = std::min(files.handedOver, static_cast<std::size_t>(p.plannedFrames));
    return {prepareUnwrapping(atoms, p.edge, p.clock, most),
            prepareRdf(atoms, p.edge, p.clock, most),
            preparePressure(atoms, p.edge, p.clock, most)};
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

// Each frame, once: unwrapped and kept, counted into g(r), its pressure taken, and written to
// the trajectory.
void streamFrames(LineReader& positionText, RunFiles& files, Analyses& analyses, Staging& staging,
                  const RunDirectory& dir) {
    const char* xyzName = "trajectory.xyz";
    XyzWriter xyz{staging.open(xyzName), dir.nameOf(xyzName), {}};
    readPositionFrames(positionText, files.positions, files.handedOver,
                       [&](std::size_t frame, std::span<const double> wrapped) {
                           try {
                               addFrame(analyses.trajectory, wrapped);
                           } catch (const UnwrapError& e) {
                               refuseFrame(positionText.name(), files.positions, e);
                           }
                           addFrame(analyses.rdf, frame, frameAt(analyses.trajectory, frame));
                           addFrame(analyses.pressure, frame, wrapped);
                           addFrame(xyz, files.positions, frame, wrapped);
                       });
    staging.close(xyzName);
}

// The samples the three files agree on, and what they hold, on standard output; the lines said.
std::vector<std::string> reconcileAndSummarise(RunFiles& files, const RunDirectory& dir) {
    EnergyFile& energy = files.energy;
    MsdFile& msd = files.msd;
    PositionFile& positions = files.positions;
    const std::size_t energyLines = energy.samples.size();
    const std::size_t frames = positions.frameCount;
    const std::size_t msdLines = msd.samples.size();
    const ReportedCounts counts = reconcileCounts(energyLines, frames, msdLines);
    if (counts.msd == 0) {
        throw InputError(formatted(
            "%s: no complete sample in position.dat, energy.dat and msd.dat (energy lines: "
            "%zu, frames: %zu, MSD lines: %zu): nothing to report",
            displayed(dir.path()).c_str(), energyLines, frames, msdLines));
    }
    if (!counts.shortFile.empty()) {
        energy.samples.resize(counts.energy);
        msd.samples.resize(counts.msd);
        if (counts.frames < positions.frameCount) {
            positions.frameCount = counts.frames;
            positions.cutOffLines = 0;  // the lines left out are no longer the last
        }
    }
    std::vector<std::string> lines = runSummary(positions, energy, msd);
    if (!counts.shortFile.empty()) {
        lines.push_back(shortFileNote(counts, energyLines, frames, msdLines));
    }
    for (const auto& line : lines) {
        say(line);
    }
    return lines;
}

// The single-origin fit of msd.dat, for comparison; the sums over the samples of a run stay far
// inside the range of numbers, but values near its end can take them outside it.
std::optional<SingleOriginFit> fitMsdFile(const MsdFile& msd) {
    std::vector<double> time;
    std::vector<double> values;
    for (const auto& s : msd.samples) {
        time.push_back(picoseconds(s.time));
        values.push_back(s.msd);
    }
    const auto fit = fitSingleOrigin(time, values);
    if (fit && !fit->line.isFinite()) {
        throw InputError(formatted(
            "%s, lines %zu to %zu: the least-squares line through them lies beyond the range "
            "of numbers",
            msd.name.c_str(), fit->first + 1, fit->last + 1));
    }
    return fit;
}

// The run's averages from t_eq on, and what the known fluid gives at its state point.
void checkAgainstKnownFluid(Conclusions& c, const Analyses& analyses, const RunFiles& files,
                            const std::string& positionName) {
    std::vector<double> temperature;
    for (std::size_t f = 0; f < std::min(files.energy.samples.size(), files.positions.frameCount);
         ++f) {
        temperature.push_back(files.energy.samples[f].temperature);
    }
    c.averages = averageSamples(files.energy, concludePressure(analyses.pressure, temperature),
                                positionName);
    RunMeasurements run;
    run.atomCount = static_cast<int>(files.positions.atomCount);
    run.edges = files.positions.edge;
    const auto estimate = [](const std::optional<BlockAverage>& a) {
        return a ? std::optional<Estimate>({a->mean, a->standardError}) : std::nullopt;
    };
    run.temperature = c.averages.temperature ? c.averages.temperature->mean : 0.0;
    run.potential = estimate(c.averages.potential);
    run.pressure = estimate(c.averages.pressure);
    if (c.diffusion) run.diffusion = Estimate{c.diffusion->d, c.diffusion->dError};
    if (c.peak) {
        run.peakPosition = Estimate{c.peak->position, c.peak->positionError};
        run.peakHeight = Estimate{c.peak->height, c.peak->heightError};
    }
    c.check = checkRun(run, programConstants());
}

Conclusions conclude(const Analyses& analyses, const RunFiles& files,
                     const std::string& positionName) {
    Conclusions c;
    const UnwrappedTrajectory& t = analyses.trajectory;
    c.average = averageMsd(t, firstSettledFrame(t.clock, frameCount(t)));
    c.diffusion = fitDiffusion(c.average, analyses.trajectory);
    // The header's bounds keep every displacement finite; this keeps that promise checked.
    const auto& d = c.diffusion;
    if (d &&
        !(std::isfinite(d->slope) && std::isfinite(d->intercept) && std::isfinite(d->dError))) {
        throw InputError(positionName +
                         ": the MSD averaged over every time origin lies beyond the range of "
                         "numbers");
    }
    c.singleOrigin = fitMsdFile(files.msd);
    c.rdf = concludeRdf(analyses.rdf);
    c.shell = c.rdf ? firstShell(*c.rdf) : std::nullopt;
    c.peak = c.shell ? fitPeak(*c.rdf, *c.shell, programConstants().sigma) : std::nullopt;
    c.frames = pictureFrames(analyses.trajectory);
    checkAgainstKnownFluid(c, analyses, files, positionName);
    return c;
}

// D, g(r) and the check against the known fluid on standard output and on the page, and
// diffusion.txt, msd-average.txt, rdf.txt and validation.txt.
void writeTextOutputs(Staging& staging, const Conclusions& c, const MsdFile& msd,
                      ReportPage& page) {
    say(diffusionSummary(c.average, c.diffusion));
    std::optional<RdfSummary> summary;
    if (c.rdf) {
        summary.emplace(RdfSummary{*c.rdf, c.shell, c.peak});
        page.rdf = {rdfSummaryLine(*summary)};
        say(page.rdf.front() + " (rdf.txt)");
    } else {
        page.rdf = {noRdfLine()};
        say(page.rdf.front());
    }
    for (const auto& line : validationSummary(c.averages, c.check)) {
        say(line);
    }
    staging.write("validation.txt", validationText(c.averages, c.check, programConstants()));
    page.check = validationRows(c.check);
    page.checkNote =
        "The run's means are taken from the equilibration time on, with what a run of its size "
        "leaves out added back; validation.txt gives every correction with its value and source.";
    if (summary) {
        staging.write("rdf.txt", rdfText(*summary));
    }
    staging.write("msd-average.txt", msdAverageText(c.average));
    std::string diffusion;
    for (const auto& line : diffusionLines(c.average, c.diffusion, msd, c.singleOrigin)) {
        page.diffusion.push_back(line);
        diffusion += line + '\n';
    }
    staging.write("diffusion.txt", diffusion);
}

// Each picture that the files and the conclusions hold something for, in gnuplot's order.
std::vector<Picture> pictures(const RunFiles& files, const Analyses& analyses,
                              const Conclusions& c) {
    std::vector<Picture> drawn;
    if (!files.energy.samples.empty()) {
        drawn.push_back(energyPicture(files.energy));
        drawn.push_back(temperaturePicture(files.energy));
    }
    if (!files.msd.samples.empty()) {
        drawn.push_back(msdPicture(files.msd, c.singleOrigin, c.average, c.diffusion));
    }
    if (c.frames) {
        if (c.rdf) {
            drawn.push_back(rdfPicture({*c.rdf, c.shell, c.peak}));
        }
        drawn.push_back(snapshotPicture(*c.frames));
        // The animated terminal last.
        drawn.push_back(animationPicture(*c.frames, analyses.trajectory));
    }
    return drawn;
}

// The pictures; gnuplot missing or failing leaves the report standing, a fault among `faults`
// (a line each of what gnuplot said). The names of the pictures drawn.
std::vector<std::string> drawPlots(Staging& staging, const RunFiles& files,
                                   const Analyses& analyses, const Conclusions& c,
                                   std::vector<std::string>& faults) {
    try {
        return drawPictures(staging, pictures(files, analyses, c));
    } catch (const InputError&) {
        throw;
    } catch (const OutputError&) {
        throw;
    } catch (const GnuplotMissing& e) {
        faults.push_back(
            "gnuplot was not found, so no pictures were drawn (report.html, trajectory.xyz and the "
            "text files were written); " +
            std::string(e.what()));
    } catch (const std::runtime_error& e) {
        const std::string what = e.what();
        for (std::size_t start = 0; start < what.size();) {
            const std::size_t end = std::min(what.find('\n', start), what.size());
            faults.push_back(what.substr(start, end - start));
            start = end + 1;
        }
    }
    return {};
}

// report.html: the lines said, the pictures drawn, and the frames for the view of the atoms.
// Numbers that the page cannot carry (a time beyond a float) leave it out, a fault.
void writePage(Staging& staging, ReportPage& page, const std::vector<std::string>& drawn,
               const Analyses& analyses, std::vector<std::string>& faults) {
    for (const auto& name : drawn) {
        page.pictures.push_back({name, staging.read(name.c_str())});
    }
    if (frameCount(analyses.trajectory) > 0) {
        page.viewer = viewerFrames(analyses.trajectory);
    }
    try {
        staging.write("report.html", reportPageHtml(page));
    } catch (const std::invalid_argument& e) {
        faults.push_back(std::string("report.html was not written: ") + e.what());
    }
}

// The outputs, the page first.
void commit(Staging& staging, const RunDirectory& dir, const PositionFile& positions) {
    std::vector<std::string> names = staging.commit();
    std::stable_partition(names.begin(), names.end(),
                          [](const std::string& name) { return name == "report.html"; });
    for (const auto& name : names) {
        say("wrote " + dir.nameOf(name) +
            (name == "trajectory.xyz" ? formatted(" (%zu frames)", positions.frameCount) : ""));
    }
}

}  // namespace

int reportRun(const std::filesystem::path& path,
              const std::function<void(const std::string&)>& complain) {
    const RunDirectory dir(path);
    LineReader positionText(dir, "position.dat");
    RunFiles files = readRunFiles(dir, positionText);

    std::vector<std::string> leftovers;
    Staging staging(dir, leftovers);
    for (const auto& name : leftovers) {
        say("removed " + name + ", the staging directory of a report that was stopped");
    }
    Analyses analyses = prepareAnalyses(files);
    streamFrames(positionText, files, analyses, staging, dir);
    ReportPage page;
    page.run = {simulatedRunLine()};
    for (const auto& line : reconcileAndSummarise(files, dir)) {
        page.run.push_back(line);
    }

    const Conclusions conclusions = conclude(analyses, files, positionText.name());
    writeTextOutputs(staging, conclusions, files.msd, page);
    // Faults that leave the report standing, told once it stands: a refusal after them would
    // make them noise.
    std::vector<std::string> faults;
    if (!conclusions.diffusion) {
        faults.push_back(noDiffusionReason(conclusions.average));
    }
    if (!conclusions.singleOrigin) {
        faults.push_back(files.msd.name + ": no stretch of linear MSD growth long enough to fit D");
    }
    const std::vector<std::string> drawn = drawPlots(staging, files, analyses, conclusions, faults);
    writePage(staging, page, drawn, analyses, faults);
    commit(staging, dir, files.positions);
    for (const auto& fault : faults) {
        complain(fault);
    }
    return faults.empty() ? 0 : 1;
}
