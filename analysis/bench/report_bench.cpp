// Cost of argon-md-report on a complete run: the analysis alone (reading position.dat and
// streaming its frames through the unwrapping and g(r), the MSD over every time origin, D, and
// their text), its two heavy parts, and the whole report with its pictures drawn by gnuplot.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/compute/diffusion.h"
#include "analysis/compute/equilibration.h"
#include "analysis/compute/msd_average.h"
#include "analysis/compute/pressure.h"
#include "analysis/compute/rdf.h"
#include "analysis/compute/rdf_peak.h"
#include "analysis/compute/unwrap.h"
#include "analysis/known_fluid/reduced_units.h"
#include "analysis/read/position_file.h"
#include "analysis/read/text_input.h"
#include "analysis/write/diffusion_text.h"
#include "analysis/write/msd_average_text.h"
#include "analysis/write/rdf_text.h"

namespace fs = std::filesystem;

namespace {

// Runs `program` with `argument` in `dir`, its output to files there; its CPU time (user +
// system, with that of the children it waited for, gnuplot among them), or a negative value
// when it failed.
double cpuSecondsOf(const char* program, const char* argument, const fs::path& dir) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0 || !std::freopen("bench.out", "wb", stdout) ||
            !std::freopen("bench.err", "wb", stderr)) {
            _exit(126);
        }
        execl(program, program, argument, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto seconds = [](timeval t) { return double(t.tv_sec) + 1e-6 * double(t.tv_usec); };
    return WIFEXITED(status) && WEXITSTATUS(status) == 0
               ? seconds(usage.ru_utime) + seconds(usage.ru_stime)
               : -1.0;
}

// One complete run of the simulation, made once in a scratch directory.
const fs::path& runDirectory() {
    static const fs::path dir = [] {
        const fs::path d =
            fs::temp_directory_path() / ("argon-md-report-bench-" + std::to_string(getpid()));
        fs::create_directories(d);
        if (cpuSecondsOf(ARGON_MD_PROGRAM_PATH, nullptr, d) < 0.0) {
            std::fprintf(stderr, "the simulation failed in %s\n", d.c_str());
        }
        return d;
    }();
    return dir;
}

// What streaming position.dat's frames leaves: the kept unwrapped trajectory, g(r)'s counts and
// each frame's pair virial.
struct Streamed {
    UnwrappedTrajectory trajectory;
    RdfAnalysis rdf;
    PressureAnalysis pressure;
};

// Reads position.dat and streams its frames through the unwrapping, g(r) and the pressure, as
// the report does.
Streamed streamRun() {
    const RunDirectory dir(runDirectory());
    LineReader in(dir, "position.dat");
    PositionFile p = readPositionHeader(in);
    const auto atoms = static_cast<std::size_t>(p.atomCount);
    const auto frames = static_cast<std::size_t>(p.plannedFrames);
    Streamed s{prepareUnwrapping(atoms, p.edge, p.clock, frames),
               prepareRdf(atoms, p.edge, p.clock, frames),
               preparePressure(atoms, p.edge, p.clock, frames)};
    readPositionFrames(in, p, frames, [&s](std::size_t frame, std::span<const double> xyz) {
        addFrame(s.trajectory, xyz);
        addFrame(s.rdf, frame, frameAt(s.trajectory, frame));
        addFrame(s.pressure, frame, xyz);
    });
    return s;
}

void analysisAlone(benchmark::State& bench) {
    std::size_t bytes = 0;
    for (auto _ : bench) {
        const Streamed s = streamRun();
        const UnwrappedTrajectory& t = s.trajectory;
        const MsdAverage msd = averageMsd(t, firstSettledFrame(t.clock, frameCount(t)));
        const auto fit = fitDiffusion(msd, t);
        const Rdf rdf = *concludeRdf(s.rdf);
        const auto shell = firstShell(rdf);
        const auto peak = fitPeak(rdf, *shell, programConstants().sigma);
        const std::vector<double> temperature(frameCount(t), 700.0);
        const std::string text = msdAverageText(msd) + rdfText({rdf, shell, peak}) +
                                 diffusionLines(msd, fit, MsdFile{}, std::nullopt).front();
        benchmark::DoNotOptimize(text.data());
        benchmark::DoNotOptimize(concludePressure(s.pressure, temperature).data());
        bytes = s.trajectory.positions.capacity() * sizeof(double);
    }
    // What grows with the frames: the unwrapped positions, and a pair virial per frame.
    bench.counters["unwrapped_MiB"] = double(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(analysisAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void averagedMsdAndD(benchmark::State& bench) {
    const UnwrappedTrajectory t = streamRun().trajectory;
    for (auto _ : bench) {
        const MsdAverage msd = averageMsd(t, firstSettledFrame(t.clock, frameCount(t)));
        benchmark::DoNotOptimize(fitDiffusion(msd, t));
    }
}
BENCHMARK(averagedMsdAndD)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// g(r) of the kept frames, as they would stream past.
void radialDistributionAlone(benchmark::State& bench) {
    const UnwrappedTrajectory t = streamRun().trajectory;
    const std::size_t frames = frameCount(t);
    for (auto _ : bench) {
        RdfAnalysis rdf = prepareRdf(t.atomCount, t.edge, t.clock, frames);
        for (std::size_t f = 0; f < frames; ++f) {
            addFrame(rdf, f, frameAt(t, f));
        }
        benchmark::DoNotOptimize(firstShell(*concludeRdf(rdf)));
    }
}
BENCHMARK(radialDistributionAlone)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The CPU time of the report and of the gnuplot it starts.
void wholeReportWithPictures(benchmark::State& bench) {
    double wall = 0.0;
    for (auto _ : bench) {
        const auto start = std::chrono::steady_clock::now();
        const double cpu = cpuSecondsOf(ARGON_MD_REPORT_PROGRAM, ".", runDirectory());
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (cpu < 0.0) {
            bench.SkipWithError("the report failed");
            break;
        }
        bench.SetIterationTime(cpu);
    }
    bench.counters["wall_s"] = benchmark::Counter(wall, benchmark::Counter::kAvgIterations);
}
BENCHMARK(wholeReportWithPictures)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(runDirectory());
    return 0;
}
