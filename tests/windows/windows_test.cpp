// The Windows programs, cross-built for 32-bit and 64-bit Windows and run under Wine: each writes
// the bytes the program built here writes in the same arithmetic, and a fault ends a run the way
// it does here.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "support/program_run.h"
#include "support/run_outputs.h"

namespace fs = std::filesystem;

namespace {

// The parameter is the target, i686 or x86_64.
class WindowsBuild : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        // Configure found why Wine cannot run them here, natively or inside qemu-i386.
        if (GetParam() == "i686" && std::string_view(ARGON_MD_WINE32_SKIP) != "") {
            GTEST_SKIP() << ARGON_MD_WINE32_SKIP;
        }
    }

    // A script that runs the Windows program `name` under Wine.
    std::string program(const std::string& name) const {
        return std::string(ARGON_MD_WINE_RUNNERS) + "/" + GetParam() + "/" + name;
    }
};

// The Windows path of `path` under Wine, whose drive Z: is the root.
std::string onDriveZ(const fs::path& path) {
    std::string windows = "Z:" + path.string();
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}

TEST_P(WindowsBuild, EachArithmeticWritesTheBytesOfTheProgramBuiltHere) {
    for (const BuiltProgram& native : programsByArithmetic()) {
        SCOPED_TRACE(native.name);
        expectRunLike(runAndCollect(program("argon-md-" + native.name)), referenceRun(native.path));
    }
}

// The loss is named on standard error (a text stream on Windows, hence CR LF) in the C runtime's
// words. A closed console needs no guard here: the C runtime keeps descriptors 0 to 2 for the
// standard streams whether or not the process got them, so no data file can take its place.
TEST_P(WindowsBuild, EachLossIsReportedOnceAndEverythingElseIsWrittenInFull) {
    const std::string extended = program("argon-md-extended");
    struct Case {
        bool positionIsDirectory;
        std::string console;  // where standard output goes; empty: closed
        std::string error;
        std::string RunOutputs::*lost;
    };
    const Case cases[] = {
        {true, "console.out", "argon-md: cannot create position.dat: Permission denied\r\n",
         &RunOutputs::position},
        {false, "/dev/full", "argon-md: cannot write standard output: No space left on device\r\n",
         &RunOutputs::console},
        {false, "", "argon-md: cannot write standard output: Bad file descriptor\r\n",
         &RunOutputs::console},
    };
    for (const Case& c : cases) {
        const fs::path dir = makeScratchDirectory();
        if (c.positionIsDirectory) {
            fs::create_directory(dir / "position.dat");
        }
        expectRunLike(runAndCollect(extended, dir, c.console), referenceRun(extended), c.error,
                      c.lost);
        fs::remove_all(dir);
    }
}

// The program installs no console handler, so Ctrl+C (and Ctrl+Break alike) ends it by the
// system's default. Wine hands SIGINT to the process as Ctrl+C; its default handler exits with
// status 0 where Windows gives STATUS_CONTROL_C_EXIT, so the status is not checked.
TEST_P(WindowsBuild, CtrlCEndsTheRunLeavingCompleteLinesOnly) {
    const std::string extended = program("argon-md-extended");
    const fs::path dir = makeScratchDirectory();
    const pid_t pid = startProgram(extended, dir);
    // The first sample is out once Wine has started the program and it is running.
    for (int waited = 0; waited < 6000 && readFile(dir / "msd.dat").empty(); ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGINT);
    waitProgram(pid);
    const RunOutputs part = collectOutputs(dir);
    EXPECT_LT(splitCrLfLines(part.console).size(), 1007u) << "the run was not stopped";
    expectCompleteLinesOnly(part, referenceRun(extended));
    fs::remove_all(dir);
}

// Asked a question, or given an argument it does not take, the Windows program answers as the
// one built here, byte for byte (its standard error, a text stream, ends the line with CR LF),
// and touches no file of an earlier run.
TEST_P(WindowsBuild, AnswersArgumentsAsTheProgramBuiltHere) {
    const BuiltProgram& native = programsByArithmetic().back();
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--help"}, {"--version"}, {"-o", "out"}}) {
        const Answer here = askProgram(native.path, arguments);
        const Answer there = askProgram(program("argon-md-" + native.name), arguments);
        EXPECT_EQ(there.status, here.status) << arguments[0];
        EXPECT_EQ(there.output, here.output) << arguments[0];
        EXPECT_EQ(there.errors,
                  here.status == 2 ? "argon-md takes no arguments; see argon-md --help\r\n" : "");
        EXPECT_TRUE(there.untouched) << arguments[0];
    }
}

// The report of one run, by the tool built here and by the Windows one: the same trajectory,
// diffusion coefficient, averaged MSD, g(r) and check against the known fluid, byte for byte. The
// Windows tool looks for gnuplot on the PATH only: Wine has none, a gnuplot.bat lying in the run's
// directory is not started, and then a stand-in on the PATH fails.
TEST_P(WindowsBuild, ReportWritesTheSameFilesAndStartsGnuplotFromThePath) {
    const fs::path dir = makeScratchDirectory();
    ASSERT_EQ(runProgram(chosenProgram(), dir), 0);
    runProgram(ARGON_MD_REPORT_PROGRAM, dir, "report.out", "report.err");
    const std::string trajectory = readFile(dir / "trajectory.xyz");
    const std::string diffusion = readFile(dir / "diffusion.txt");
    const std::string average = readFile(dir / "msd-average.txt");
    const std::string rdf = readFile(dir / "rdf.txt");
    const std::string validation = readFile(dir / "validation.txt");
    ASSERT_FALSE(trajectory.empty() || diffusion.empty() || average.empty() || rdf.empty() ||
                 validation.empty())
        << readFile(dir / "report.err");
    for (const char* name :
         {"trajectory.xyz", "diffusion.txt", "msd-average.txt", "rdf.txt", "validation.txt"}) {
        fs::remove(dir / name);
    }
    // Were it started, gnuplot would run in the staging directory: the mark goes to the run's.
    std::ofstream(dir / "gnuplot.bat")
        << "@echo started>" << onDriveZ(dir / "started.txt") << "\r\n";

    EXPECT_EQ(runProgram(program("argon-md-report"), dir, "report.out", "report.err"), 1);
    EXPECT_TRUE(readFile(dir / "report.err").ends_with("folder of gnuplot.exe on the PATH\r\n"))
        << readFile(dir / "report.err");
    EXPECT_TRUE(readFile(dir / "trajectory.xyz") == trajectory);
    EXPECT_TRUE(readFile(dir / "diffusion.txt") == diffusion);
    EXPECT_TRUE(readFile(dir / "msd-average.txt") == average);
    EXPECT_TRUE(readFile(dir / "rdf.txt") == rdf);
    EXPECT_TRUE(readFile(dir / "validation.txt") == validation);
    EXPECT_FALSE(fs::exists(dir / "started.txt"));

    // What gnuplot says is heard only when it fails. Wine puts WINEPATH's folders on the PATH.
    fs::create_directory(dir / "bin");
    std::ofstream(dir / "bin" / "gnuplot.bat")
        << "@echo line 3: undefined variable>&2\r\n@exit /b 3\r\n";
    ::setenv("WINEPATH", onDriveZ(dir / "bin").c_str(), 1);
    EXPECT_EQ(runProgram(program("argon-md-report"), dir, "report.out", "report.err"), 1);
    ::unsetenv("WINEPATH");
    EXPECT_EQ(readFile(dir / "report.err"),
              "argon-md-report: gnuplot failed (exit status 3); no plots written\r\n"
              "argon-md-report: gnuplot: line 3: undefined variable\r\n");
    EXPECT_TRUE(readFile(dir / "report.html").starts_with("<!DOCTYPE html>"));
    fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Target, WindowsBuild, ::testing::Values("i686", "x86_64"),
                         [](const auto& info) { return info.param; });

}  // namespace
