#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

// What one run of the program left behind.
struct RunOutputs {
    int status = -1;
    std::string console;  // standard output, raw bytes
    std::string errors;   // standard error
    std::string position, energy, msd;
};

// What a run left in `directory`; a file that is missing or not a regular file reads as empty.
RunOutputs collectOutputs(const std::filesystem::path& directory);

// Runs `program` to its end in a fresh scratch directory and collects its outputs.
RunOutputs runAndCollect(const std::string& program);

// The complete run of `program`, made once per test process.
const RunOutputs& referenceRun(const std::string& program);

// The programs built for the tests: the one the build chose, and each arithmetic's with the
// correctly rounded powers ("double", "extended") and with the C library's ("double_libm", ...).
struct BuiltProgram {
    std::string name;
    std::string path;
};
std::string chosenProgram();
const std::vector<BuiltProgram>& programsByArithmetic();
const std::vector<BuiltProgram>& libmProgramsByArithmetic();

// Test names show the program's name rather than the bytes of the struct.
inline void PrintTo(const BuiltProgram& program, std::ostream* out) {
    *out << program.name;
}
