// Peak memory (ru_maxrss) and CPU time of argon-md-report on a 200 MB position.dat, for each
// report program named on the command line, side by side on the same files:
//   argon-md-report-memory [--megabytes N] [--dir DIR] NAME=PROGRAM...
// Two runs: one of valid frames, as many as the report reads (60,000 frames of 50 atoms, the
// numbers spaced out to fill the size), and one whose header announces 1000 frames followed by
// frames to the same size, which is refused.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kAtoms = 50;
constexpr double kEdge = 25.1488;  // Å, the cell of a run

struct Usage {
    int status = 0;
    double peakMegabytes = 0.0;
    double cpuSeconds = 0.0;  // user + system
};

// Runs `program` in `dir` with no gnuplot on the PATH and its output discarded.
Usage measure(const std::string& program, const fs::path& dir) {
    std::fflush(stdout);  // or the child's copy of the buffer is written too
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0 || !std::freopen("/dev/null", "w", stdout) ||
            !std::freopen("report.err", "w", stderr)) {
            _exit(126);
        }
        setenv("PATH", "/nonexistent", 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto seconds = [](timeval t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            static_cast<double>(usage.ru_maxrss) / 1024.0,
            seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

// One atom line of `width` bytes with its CR LF: the coordinates in the cell, spaced out.
std::string atomLine(const double* xyz, std::size_t width) {
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%.6g %.6g %.6g", xyz[0], xyz[1], xyz[2]);
    std::string line(text, static_cast<std::size_t>(length));
    const auto gap = line.find(' ');
    line.insert(gap, width - 2 > line.size() ? width - 2 - line.size() : 0, ' ');
    return line + "\r\n";
}

// A run of `frames` frames announced as `announced`, position.dat of about `bytes`.
void writeRun(const fs::path& dir, long announced, long frames, double bytes) {
    fs::create_directories(dir);
    std::mt19937 random(2024);
    const auto width = static_cast<std::size_t>(bytes / (static_cast<double>(frames) * kAtoms));
    std::ofstream position(dir / "position.dat", std::ios::binary);
    position << "1 " << kAtoms << ' ' << announced << "\r\n"
             << kEdge << ' ' << kEdge << ' ' << kEdge << "\r\n0 0.04\r\n";
    // Atoms that wander through the cell by small steps, as a run's do, so that every frame
    // is followed into the analysis.
    std::uniform_real_distribution<double> inCell(0.0, kEdge), step(-0.2, 0.2);
    std::vector<double> xyz(3 * kAtoms);
    for (double& x : xyz) {
        x = inCell(random);
    }
    for (long frame = 0; frame < frames; ++frame) {
        for (long atom = 0; atom < kAtoms; ++atom) {
            double* at = &xyz[3 * atom];
            for (int axis = 0; axis < 3; ++axis) {
                at[axis] += step(random);
                at[axis] -= kEdge * std::floor(at[axis] / kEdge);
            }
            position << atomLine(at, width);
        }
    }
    std::ofstream energy(dir / "energy.dat", std::ios::binary);
    std::ofstream msd(dir / "msd.dat", std::ios::binary);
    for (long i = 0; i < std::min(frames, announced); ++i) {
        energy << i * 40 << ", 8901.29, 9722.25, -820.963, 779.822\r\n";
        msd << i * 40 << ",  " << 0.5 * static_cast<double>(i) << ", \r\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    double megabytes = 200.0;
    fs::path root = fs::temp_directory_path() / "argon-md-report-memory";
    std::vector<std::pair<std::string, std::string>> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--megabytes" && i + 1 < argc) {
            megabytes = std::atof(argv[++i]);
        } else if (argument == "--dir" && i + 1 < argc) {
            root = argv[++i];
        } else if (const auto equals = argument.find('='); equals != std::string::npos) {
            programs.emplace_back(argument.substr(0, equals),
                                  fs::absolute(argument.substr(equals + 1)).string());
        } else {
            std::cerr << "usage: argon-md-report-memory [--megabytes N] [--dir DIR] "
                         "NAME=PROGRAM...\n";
            return 2;
        }
    }
    const double bytes = megabytes * 1e6;
    const std::pair<const char*, std::pair<long, long>> runs[] = {
        {"valid frames", {60'000, 60'000}},
        {"frames beyond the header's 1000", {1000, 60'000}},
    };
    for (const auto& [what, counts] : runs) {
        const fs::path dir = root / "run";
        fs::remove_all(dir);
        writeRun(dir, counts.first, counts.second, bytes);
        std::printf("%s: position.dat of %.0f MB\n", what,
                    static_cast<double>(fs::file_size(dir / "position.dat")) / 1e6);
        for (const auto& [name, program] : programs) {
            for (const char* output : {"trajectory.xyz", "diffusion.txt"}) {
                fs::remove(dir / output);
            }
            const Usage usage = measure(program, dir);
            std::printf("  %-12s exit %d, peak memory %7.1f MB, CPU time %6.2f s\n", name.c_str(),
                        usage.status, usage.peakMegabytes, usage.cpuSeconds);
            // Exit 1 is expected (gnuplot is kept out of reach); its first complaint says why.
            std::ifstream complaints(dir / "report.err");
            std::string first;
            std::getline(complaints, first);
            std::printf("    %s\n", first.c_str());
        }
    }
    fs::remove_all(root);
    return 0;
}
