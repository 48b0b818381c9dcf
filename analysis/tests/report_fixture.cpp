#include "report_fixture.h"

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <vector>

#include "support/program_run.h"

namespace report_test {

std::string changes(const std::map<std::string, std::string>& before,
                    const std::map<std::string, std::string>& now) {
    std::string text;
    for (const auto& [path, what] : now) {
        const auto was = before.find(path);
        if (was == before.end() || was->second != what) {
            text += (was == before.end() ? "+ " : "~ ") + path + "\n";
        }
    }
    for (const auto& [path, what] : before) {
        if (!now.contains(path)) {
            text += "- " + path + "\n";
        }
    }
    return text;
}

std::string firstLines(const std::string& text, int count) {
    std::size_t end = 0;
    for (int line = 0; line < count; ++line) {
        end = text.find('\n', end) + 1;
    }
    return text.substr(0, end);
}

long lineCount(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

void writeWalkRun(const fs::path& dir, int atoms, int frames) {
    constexpr double kEdge = 20.0;  // Å
    std::mt19937 random(11);
    std::uniform_real_distribution<double> where(0.0, kEdge);
    std::normal_distribution<double> step(0.0, 0.5);  // Å per axis between frames: D = 0.25 / 0.08
    std::vector<double> x(3 * atoms);
    for (double& coordinate : x) {
        coordinate = where(random);
    }
    std::string position =
        "1 " + std::to_string(atoms) + " " + std::to_string(frames) + "\r\n20 20 20\r\n0 0.04\r\n";
    std::string energy, msd;
    char line[128];
    for (int frame = 0; frame < frames; ++frame) {
        for (int atom = 0; atom < atoms; ++atom) {
            double* at = &x[3 * atom];
            for (int axis = 0; axis < 3; ++axis) {
                at[axis] += frame > 0 ? step(random) : 0.0;
            }
            const auto wrapped = [&](double u) { return u - kEdge * std::floor(u / kEdge); };
            std::snprintf(line, sizeof line, "%.6g %.6g %.6g\r\n", wrapped(at[0]), wrapped(at[1]),
                          wrapped(at[2]));
            position += line;
        }
        std::snprintf(line, sizeof line, "%d, 8200, 8700, -500, 700\r\n", 40 * frame);
        energy += line;
        std::snprintf(line, sizeof line, "%d,  %.6g, \r\n", 40 * frame, 6 * 3.125 * 0.04 * frame);
        msd += line;
    }
    std::ofstream(dir / "position.dat", std::ios::binary) << position;
    std::ofstream(dir / "energy.dat", std::ios::binary) << energy;
    std::ofstream(dir / "msd.dat", std::ios::binary) << msd;
}

void ReportProgram::SetUp() {
    root = makeScratchDirectory();
    fs::create_directory(run = root / "run");
    fs::create_directory(tmp = root / "tmp");
}

void ReportProgram::TearDown() {
    fs::remove_all(root);
}

int ReportProgram::execute(const std::string& command, const fs::path& where) {
    const std::string shell = "cd '" + (where.empty() ? run : where).string() +
                              "' && export TMPDIR='" + tmp.string() + "' && " + command + " >'" +
                              (root / "out").string() + "' 2>'" + (root / "err").string() + "'";
    const int status = std::system(shell.c_str());
    out = readFile(root / "out");
    err = readFile(root / "err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ReportProgram::write(const char* name, const std::string& text) {
    std::ofstream(run / name, std::ios::binary) << text;
}

void ReportProgram::expectRefused(const std::string& arguments, const std::string& expected,
                                  const std::string& command) {
    SCOPED_TRACE(expected);
    const auto before = treeOf(root);
    EXPECT_EQ(execute(command + arguments), 1);
    EXPECT_NE(err.find(expected), std::string::npos) << err;
    EXPECT_EQ(lineCount(err), 1) << err;
    EXPECT_EQ(changes(before, treeOf(root)), "");
}

}  // namespace report_test
