// The built argon-md-report (and argon-md, where this project builds it) run in a temporary
// directory on files such as a run leaves.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// D in Å²/ps as diffusion.txt states it; NaN when it states none.
double reportedD(const std::string& diffusion) {
    const std::string label = "D = slope / 6 = ";
    const auto at = diffusion.find(label);
    return at == std::string::npos ? NAN : std::stod(diffusion.substr(at + label.size()));
}

bool isPng(const fs::path& path) {
    return contents(path).starts_with("\x89PNG\r\n\x1a\n");
}

class ReportProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "argon-md-report-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        run = root / "run";
        fs::create_directories(root / "empty");
    }
    void TearDown() override { fs::remove_all(root); }

    // Runs `command` in the run directory, keeping its output beside it; the exit status.
    int execute(const std::string& command, bool withGnuplot = true) {
        const std::string path = withGnuplot ? "" : "PATH='" + (root / "empty").string() + "' ";
        const std::string line = "cd '" + run.string() + "' && " + path + command + " > '" +
                                 (root / "out").string() + "' 2> '" + (root / "err").string() + "'";
        const int status = std::system(line.c_str());
        out = contents(root / "out");
        err = contents(root / "err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // A run of two atoms that stopped after `frames` of `planned` frames, with an MSD that turns
    // from ballistic to diffusive (D = 20 Å²/ps) after a few ps.
    void writeRun(int frames, int planned) {
        fs::remove_all(run);
        fs::create_directories(run);
        std::ofstream position(run / "position.dat", std::ios::binary);
        std::ofstream energy(run / "energy.dat", std::ios::binary);
        std::ofstream msd(run / "msd.dat", std::ios::binary);
        position << "1 2 " << planned << "\r\n20 20 20\r\n0 0.04\r\n";
        for (int k = 0; k < frames; ++k) {
            const double t = 0.04 * k;
            position << k % 20 << " 1.5 2\r\n3 4 " << 0.25 * (k % 80) << "\r\n";
            energy << 40 * k << ", 8000, 8700, -700, " << 700 + k % 7 << "\r\n";
            msd << 40 * k << ",  " << 120.0 * (t - 1.0 + std::exp(-t)) << ", \r\n";
        }
        position << "7.5 8";  // the line being written when the run stopped
    }

    fs::path root;
    fs::path run;
    std::string out;
    std::string err;
};

TEST_F(ReportProgram, StoppedRunIsReportedWithAndWithoutGnuplot) {
    writeRun(300, 400);
    const std::string inputs =
        contents(run / "position.dat") + contents(run / "energy.dat") + contents(run / "msd.dat");

    EXPECT_NE(execute(ARGON_MD_REPORT_PROGRAM, false), 0);
    EXPECT_NE(out.find("position.dat: 300 of 400 frames"), std::string::npos) << out;
    EXPECT_NE(out.find("position.dat: the last line has no line end"), std::string::npos);
    EXPECT_NE(err.find("apt-get install gnuplot-nox"), std::string::npos) << err;
    EXPECT_EQ(lineCount(contents(run / "trajectory.xyz")), 300u * 4u);
    const std::string diffusion = contents(run / "diffusion.txt");
    EXPECT_NEAR(reportedD(diffusion), 20.0, 0.1) << diffusion;
    EXPECT_NE(out.find(diffusion), std::string::npos);
    EXPECT_FALSE(fs::exists(run / "energy.png"));
    EXPECT_FALSE(fs::exists(run / "energy.png.partial"));

    ASSERT_EQ(execute(ARGON_MD_REPORT_PROGRAM), 0) << err;
    for (const char* picture : {"energy.png", "temperature.png", "msd.png"}) {
        EXPECT_TRUE(isPng(run / picture)) << picture;
    }
    EXPECT_EQ(
        contents(run / "position.dat") + contents(run / "energy.dat") + contents(run / "msd.dat"),
        inputs);
}

TEST_F(ReportProgram, BadInputIsOneLineAndLeavesNoOutput) {
    struct Case {
        const char* what;
        void (*spoil)(const fs::path& run);
        const char* argument;
        const char* expected;
    };
    const Case cases[] = {
        {"missing directory", [](const fs::path&) {}, "nowhere", "nowhere: no such directory"},
        {"missing file", [](const fs::path& r) { fs::remove(r / "msd.dat"); }, "",
         "msd.dat: no such file"},
        {"frame cut short",
         [](const fs::path& r) { std::ofstream(r / "position.dat", std::ios::app) << " 9\n"; }, "",
         "position.dat, line 604: frame 301 is cut short after 1 of its 2 atom lines"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeRun(300, 400);
        c.spoil(run);
        EXPECT_NE(execute(std::string(ARGON_MD_REPORT_PROGRAM) + " " + c.argument), 0);
        EXPECT_NE(err.find(c.expected), std::string::npos) << err;
        EXPECT_EQ(lineCount(err), 1u) << err;
        for (const auto& entry : fs::directory_iterator(run)) {
            EXPECT_EQ(entry.path().extension(), ".dat") << entry.path();
        }
    }
}

TEST_F(ReportProgram, UnwritableOutputIsReported) {
    writeRun(300, 400);
    fs::create_directory(run / "trajectory.xyz");
    EXPECT_NE(execute(ARGON_MD_REPORT_PROGRAM), 0);
    EXPECT_NE(err.find("trajectory.xyz: cannot be written"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(run / "trajectory.xyz.partial"));
}

#ifdef ARGON_MD_PROGRAM
TEST_F(ReportProgram, ReportsAFullSimulationRun) {
    fs::create_directories(run);
    ASSERT_EQ(execute(ARGON_MD_PROGRAM), 0) << err;
    const std::string positions = contents(run / "position.dat");
    ASSERT_EQ(execute(ARGON_MD_REPORT_PROGRAM), 0) << err;
    EXPECT_NE(out.find("position.dat: 1000 of 1000 frames of 50 atoms"), std::string::npos);
    EXPECT_EQ(out.find("stopped early"), std::string::npos) << out;

    const std::string xyz = contents(run / "trajectory.xyz");
    EXPECT_EQ(lineCount(xyz), 1000u * 52u);
    EXPECT_TRUE(xyz.starts_with("50\nLattice=\"25.1488 0.0 0.0 0.0 25.1488 0.0 0.0 0.0 25.1488\""));
    EXPECT_NE(xyz.find(" Time=39960.0 pbc=\"T T T\"\nAr "), std::string::npos);
    // The last atom's coordinates, as the simulation wrote them.
    const std::string lastAtom = positions.substr(positions.rfind('\n', positions.size() - 2) + 1);
    EXPECT_TRUE(xyz.ends_with("Ar " + lastAtom.substr(0, lastAtom.size() - 2) + "\n"));
    EXPECT_EQ(contents(run / "position.dat"), positions);

    // A dilute gas at 700 K: kinetic theory puts D near 2e-7 m²/s.
    const double d = reportedD(contents(run / "diffusion.txt"));
    EXPECT_GT(d, 10.0);
    EXPECT_LT(d, 40.0);
    for (const char* picture : {"energy.png", "temperature.png", "msd.png"}) {
        EXPECT_TRUE(isPng(run / picture)) << picture;
    }
}
#endif

}  // namespace
