// A run whose files or console cannot be written, and a run stopped from outside: the loss is
// reported, and everything else the run writes stays exactly as in a complete run.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "support/program_run.h"
#include "support/run_outputs.h"

namespace fs = std::filesystem;

namespace {

const RunOutputs& complete() {
    return referenceRun(chosenProgram());
}

TEST(FailedWrites, DirectoryInPlaceOfTheTrajectoryIsReportedAndTheRunGoesOn) {
    const fs::path dir = makeScratchDirectory();
    fs::create_directory(dir / "position.dat");
    const RunOutputs out = runAndCollect(chosenProgram(), dir);
    EXPECT_EQ(out.status, 1);
    EXPECT_EQ(out.errors, "argon-md: cannot create position.dat: Is a directory\n");
    EXPECT_TRUE(fs::is_empty(dir / "position.dat"));
    EXPECT_EQ(out.console, complete().console);
    EXPECT_EQ(out.energy, complete().energy);
    EXPECT_EQ(out.msd, complete().msd);
    fs::remove_all(dir);
}

TEST(FailedWrites, EnergyFileOnAFullDeviceIsReportedOnceAndTheRunGoesOn) {
    const fs::path dir = makeScratchDirectory();
    fs::create_symlink("/dev/full", dir / "energy.dat");
    const RunOutputs out = runAndCollect(chosenProgram(), dir);
    EXPECT_EQ(out.status, 1);
    EXPECT_EQ(out.errors, "argon-md: cannot write energy.dat: No space left on device\n");
    EXPECT_EQ(out.console, complete().console);
    EXPECT_EQ(out.position, complete().position);
    EXPECT_EQ(out.msd, complete().msd);
    fs::remove_all(dir);
}

TEST(FailedWrites, ConsoleOnAFullDeviceIsReportedAndTheFilesAreComplete) {
    const fs::path dir = makeScratchDirectory();
    const int status = runProgram(chosenProgram(), dir, "/dev/full");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(readFile(dir / "error.out"),
              "argon-md: cannot write standard output: No space left on device\n");
    EXPECT_EQ(readFile(dir / "position.dat"), complete().position);
    EXPECT_EQ(readFile(dir / "energy.dat"), complete().energy);
    EXPECT_EQ(readFile(dir / "msd.dat"), complete().msd);
    fs::remove_all(dir);
}

TEST(FailedWrites, ConsolePipeWhoseReaderHasGoneDoesNotCutTheFilesShort) {
    const fs::path dir = makeScratchDirectory();
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);  // nobody will ever read the console
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const fs::path errors = dir / "error.out";
        if (::chdir(dir.c_str()) != 0 || ::dup2(ends[1], 1) < 0 ||
            !std::freopen(errors.c_str(), "w", stderr)) {
            ::_exit(126);
        }
        ::execl(chosenProgram().c_str(), chosenProgram().c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ends[1]);
    EXPECT_EQ(waitProgram(pid), 1);
    EXPECT_EQ(readFile(dir / "error.out"), "argon-md: cannot write standard output: Broken pipe\n");
    EXPECT_EQ(readFile(dir / "msd.dat"), complete().msd);
    EXPECT_EQ(readFile(dir / "position.dat"), complete().position);
    fs::remove_all(dir);
}

// Stopped at any moment, a run leaves each file holding the complete run's first lines and
// nothing else: only whole CR LF lines.
class Interrupted : public ::testing::TestWithParam<int> {};

TEST_P(Interrupted, FilesHoldOnlyCompleteLines) {
    const RunOutputs& whole = complete();
    for (int delayMs : {0, 3, 40, 150, 400, 700}) {
        const fs::path dir = makeScratchDirectory();
        const pid_t pid = startProgram(chosenProgram(), dir);
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(pid, GetParam());
        const int status = waitProgram(pid);
        for (const char* name : {"position.dat", "energy.dat", "msd.dat"}) {
            const std::string part = fs::exists(dir / name) ? readFile(dir / name) : "";
            const std::string& full = std::string(name) == "position.dat" ? whole.position
                                      : std::string(name) == "energy.dat" ? whole.energy
                                                                          : whole.msd;
            ASSERT_EQ(full.compare(0, part.size(), part), 0)
                << name << " after " << delayMs << " ms is not the complete run's beginning";
            if (!part.empty()) {
                EXPECT_EQ(part.substr(part.size() - 2), "\r\n")
                    << name << " ends in a partial line after " << delayMs << " ms";
            }
        }
        if (status != 0) {  // a run that finished first has nothing to prove here
            EXPECT_EQ(status, 128 + GetParam());
        }
        fs::remove_all(dir);
    }
}

INSTANTIATE_TEST_SUITE_P(Signal, Interrupted, ::testing::Values(SIGINT, SIGTERM),
                         [](const auto& info) {
                             return info.param == SIGINT ? "SIGINT" : "SIGTERM";
                         });

}  // namespace
