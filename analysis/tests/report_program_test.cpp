// The built argon-md and argon-md-report run in a temporary directory.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "support/program_run.h"

namespace {

namespace fs = std::filesystem;

long lineCount(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

class ReportProgram : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directory(run = (root = makeScratchDirectory()) / "run"); }
    void TearDown() override { fs::remove_all(root); }

    // Runs `command` in the run directory; its exit status.
    int execute(const std::string& command) {
        const int status =
            std::system(("cd '" + run.string() + "' && " + command + " >../out 2>../err").c_str());
        out = readFile(root / "out");
        err = readFile(root / "err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    void write(const char* name, const std::string& text) {
        std::ofstream(run / name, std::ios::binary) << text;
    }

    // D in Å²/ps as diffusion.txt states it; NaN when it states none.
    double reportedD() const {
        const std::string text = readFile(run / "diffusion.txt"), label = "D = slope / 6 = ";
        const auto at = text.find(label);
        return at == std::string::npos ? NAN : std::stod(text.substr(at + label.size()));
    }

    // The report fails with one line on standard error and leaves nothing but its inputs.
    void expectRefused(const std::string& arguments, const std::string& expected) {
        SCOPED_TRACE(expected);
        EXPECT_NE(execute(ARGON_MD_REPORT_PROGRAM + arguments), 0);
        EXPECT_NE(err.find(expected), std::string::npos) << err;
        EXPECT_EQ(lineCount(err), 1) << err;
        for (const auto& entry : fs::directory_iterator(run)) {
            EXPECT_TRUE(entry.path().extension() == ".dat" || entry.is_directory()) << entry.path();
        }
    }

    fs::path root, run;
    std::string out, err;
};

TEST_F(ReportProgram, ReportsASimulationRunWholeAndStoppedEarly) {
    ASSERT_EQ(execute(ARGON_MD_PROGRAM), 0) << err;
    ASSERT_EQ(execute(ARGON_MD_REPORT_PROGRAM), 0) << err;
    EXPECT_EQ(lineCount(readFile(run / "trajectory.xyz")), 1000 * 52);
    // A dilute gas at 700 K: kinetic theory puts D near 2e-7 m²/s.
    EXPECT_TRUE(reportedD() > 10.0 && reportedD() < 40.0) << reportedD();
    EXPECT_TRUE(readFile(run / "msd.png").starts_with("\x89PNG\r\n"));
    // Every origin averaged: D ± error first in diffusion.txt, the lags out to 20 ps.
    const std::string diffusion = readFile(run / "diffusion.txt");
    ASSERT_TRUE(diffusion.starts_with("D = ")) << diffusion;
    const double d = std::stod(diffusion.substr(4));
    const double error = std::stod(diffusion.substr(diffusion.find("± ") + 3));
    EXPECT_TRUE(d > 15.0 && d < 30.0 && error > 0.05 * d && error < 0.25 * d) << diffusion;
    const std::string average = readFile(run / "msd-average.txt");
    EXPECT_EQ(lineCount(average), 1 + 501);
    EXPECT_NE(average.find("\n20 "), std::string::npos);
    EXPECT_EQ(lineCount(readFile(run / "rdf.txt")), 1 + 251);  // 0.05 Å bins to 12.57 Å
    EXPECT_NE(out.find("g(r) over 900 frames from 4 ps: first peak at "), std::string::npos);
    for (const char* picture : {"rdf.png", "snapshot.png"}) {
        EXPECT_TRUE(readFile(run / picture).starts_with("\x89PNG\r\n")) << picture;
    }
    EXPECT_TRUE(readFile(run / "trajectory.gif").starts_with("GIF89a"));

    // Cut where a stop while writing frame 601 leaves the files: at line ends, with one sample
    // more than complete frames. And without gnuplot.
    for (auto [name, lines] :
         {std::pair{"position.dat", 3 + 600 * 50 + 17}, {"energy.dat", 601}, {"msd.dat", 601}}) {
        const std::string text = readFile(run / name);
        std::size_t end = 0;
        for (int line = 0; line < lines; ++line) end = text.find('\n', end) + 1;
        write(name, text.substr(0, end));
    }
    fs::remove(run / "diffusion.txt");
    EXPECT_NE(execute("PATH=/nonexistent " ARGON_MD_REPORT_PROGRAM), 0);
    EXPECT_NE(out.find("position.dat: 600 of 1000 frames"), std::string::npos) << out;
    EXPECT_NE(out.find("writing frame 601, so its 17 of 50 atom lines are left out"),
              std::string::npos)
        << out;
    EXPECT_NE(err.find("apt-get install gnuplot-nox"), std::string::npos) << err;
    EXPECT_EQ(lineCount(readFile(run / "trajectory.xyz")), 600 * 52);
    EXPECT_TRUE(reportedD() > 10.0 && reportedD() < 40.0) << reportedD();
}

TEST_F(ReportProgram, BadInputOrOutputIsRefusedInOneLine) {
    // Two atoms, three frames planned.
    const std::string header = "1 2 3\r\n20 20 20\r\n0 0.04\r\n", frame = "1 2 3\r\n4 5 6\r\n";
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"position.dat", "2 2 3\r\n", "position.dat, line 1: expected \"1 <atoms> <frames>\""},
        {"position.dat", "1 0 3\r\n20 20 20\r\n0 0.04\r\n", "position.dat, line 1: the atom and"},
        {"position.dat", header + "1 2\r\n", "position.dat, line 4: expected an atom's"},
        {"position.dat", header + frame + "1 2 inf\r\n", "position.dat, line 6: not a finite"},
        {"position.dat", header + frame + frame + frame + frame, "position.dat, line 10: more"},
        {"position.dat", header + frame + "6.1 2 3\r\n4 5 6\r\n",
         "position.dat: atom 0 moves 5.1 Å along x between 0 and 0.04 ps, more than a quarter"},
        // A stray carriage return is not echoed, so that the message stays on one line.
        {"energy.dat", "0, 1, 2, 3, 4\r\n40, 1, 2\r3\r\n",
         "energy.dat, line 2: expected \"time, KE+PE, KE, PE, T\", found \"40, 1, 2?3\""},
        {"energy.dat", "0, 1, x, 3, 4\r\n", "energy.dat, line 1: not a number: \"x\""},
        {"energy.dat", "40, 1, 2, 3, 4\r\n0, 1, 2, 3, 4\r\n", "energy.dat, line 2: the time does"},
        {"msd.dat", "0,  1, 2\r\n", "msd.dat, line 1: expected \"time,  MSD, \""},
    };
    for (const auto& [file, text, expected] : cases) {  // in a valid run of one frame
        write("position.dat", header + frame);
        write("energy.dat", "0, 1, 2, 3, 4\r\n");
        write("msd.dat", "0,  0, \r\n");
        write(file, text);
        expectRefused("", expected);
    }
    expectRefused(" nowhere", "nowhere: no such directory");
    fs::remove(run / "msd.dat");
    expectRefused("", "msd.dat: no such file");
    write("msd.dat", "0,  0, \r\n");
    fs::create_symlink("/dev/full", run / "trajectory.xyz.partial");  // the write fails
    expectRefused("", "trajectory.xyz: cannot be written");
    fs::create_directory(run / "trajectory.xyz");  // the rename fails
    expectRefused("", "trajectory.xyz: cannot be written");
    // The files are written, but a report its reader never got is no success. The fit fails
    // first (one sample), so the reason must outlive gnuplot's start.
    fs::remove(run / "trajectory.xyz");
    EXPECT_NE(execute("(" ARGON_MD_REPORT_PROGRAM " >/dev/full)"), 0);
    EXPECT_TRUE(err.ends_with("argon-md-report: standard output: No space left on device\n"))
        << err;
}

}  // namespace
