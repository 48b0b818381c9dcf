// Cost of argon-md-report on a complete run: the analysis alone (reading position.dat,
// unwrapping, the MSD over every time origin, D and g(r), and their text), its two heavy
// parts, and the whole report with its pictures drawn by gnuplot.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "analysis/msd_average.h"
#include "analysis/msd_rdf_text.h"
#include "analysis/multi_origin_fit.h"
#include "analysis/position_file.h"
#include "analysis/rdf.h"
#include "analysis/text_input.h"
#include "analysis/unwrap.h"

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

UnwrappedTrajectory readTrajectory() {
    const RunDirectory dir(runDirectory());
    LineReader in(dir, "position.dat");
    PositionFile p = readPositionHeader(in);
    UnwrappedTrajectory t = startTrajectory(static_cast<std::size_t>(p.atomCount), p.edge,
                                            p.startTime, p.frameInterval);
    readPositionFrames(in, p, static_cast<std::size_t>(p.plannedFrames),
                       [&t](std::size_t, std::span<const double> xyz) { addFrame(t, xyz); });
    return t;
}

void analysisAlone(benchmark::State& bench) {
    std::size_t bytes = 0;
    for (auto _ : bench) {
        const UnwrappedTrajectory t = readTrajectory();
        const MsdAverage msd = averageMsd(t);
        const auto fit = fitMultiOrigin(msd, t);
        const Rdf rdf = radialDistribution(t, settledFrame(t));
        const auto shell = firstShell(rdf);
        const std::string text = msdAverageText(msd) + rdfText(rdf, kRdfStartTime) +
                                 multiOriginReport(msd, fit).front() +
                                 firstShellLine(rdf, kRdfStartTime, shell);
        benchmark::DoNotOptimize(text.data());
        bytes = t.positions.capacity() * sizeof(double);
    }
    // What grows with the frames: the unwrapped positions, and nothing else.
    bench.counters["unwrapped_MiB"] = double(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(analysisAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void averagedMsdAndD(benchmark::State& bench) {
    const UnwrappedTrajectory t = readTrajectory();
    for (auto _ : bench) {
        const MsdAverage msd = averageMsd(t);
        benchmark::DoNotOptimize(fitMultiOrigin(msd, t));
    }
}
BENCHMARK(averagedMsdAndD)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void radialDistributionAlone(benchmark::State& bench) {
    const UnwrappedTrajectory t = readTrajectory();
    for (auto _ : bench) {
        benchmark::DoNotOptimize(firstShell(radialDistribution(t, settledFrame(t))));
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
