// The built argon-md-report, run in a scratch directory: its files, its run, and what it leaves.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "support/program_run.h"

namespace report_test {

namespace fs = std::filesystem;

// What differs between two trees: "+ path" for each entry only `now` has, "- path" for each it
// lacks, "~ path" for each that changed; empty when they are alike.
std::string changes(const std::map<std::string, std::string>& before,
                    const std::map<std::string, std::string>& now);

// `count` of `text`'s lines, each with its line end.
std::string firstLines(const std::string& text, int count);

long lineCount(const std::string& text);

// A run as the simulation writes it, of `atoms` atoms walking at random in a 20 Å cell for
// `frames` frames 0.04 ps apart: position.dat, energy.dat and msd.dat (6 D t, D = 3.125 Å²/ps).
void writeWalkRun(const fs::path& dir, int atoms, int frames);

// A scratch directory `root` holding the run's directory `run` and the report's TMPDIR `tmp`.
class ReportProgram : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the shell command `command` in `where` (the run's directory unless given) with TMPDIR
    // set to `tmp`; its exit status, its output in `out` and `err`.
    int execute(const std::string& command, const fs::path& where = {});
    void write(const char* name, const std::string& text);

    // The report with `arguments` (started by `command`) fails with one line on standard error
    // holding `expected`, and leaves every file under the scratch directory as it was.
    void expectRefused(const std::string& arguments, const std::string& expected,
                       const std::string& command = ARGON_MD_REPORT_PROGRAM);

    fs::path root, run, tmp;
    std::string out, err;
};

}  // namespace report_test
