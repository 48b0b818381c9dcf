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

// The four outputs of a run, by the names the run preset gives them.
struct OutputFile {
    const char* name;
    std::string RunOutputs::*bytes;
};
inline constexpr OutputFile kOutputFiles[] = {{"console.log", &RunOutputs::console},
                                              {"position.dat", &RunOutputs::position},
                                              {"energy.dat", &RunOutputs::energy},
                                              {"msd.dat", &RunOutputs::msd}};

// A run that wrote every output of the complete run but `lost`, and said `error` on standard
// error: none, and status 0, or that, once, and status 1.
void expectRunLike(const RunOutputs& run, const RunOutputs& complete, const std::string& error = "",
                   std::string RunOutputs::*lost = nullptr);

// A run stopped from outside: each data file holds the complete run's first lines, whole.
void expectCompleteLinesOnly(const RunOutputs& part, const RunOutputs& complete);

// What a run left in `directory`; a file that is missing or not a regular file reads as empty.
RunOutputs collectOutputs(const std::filesystem::path& directory);

// Runs `program` to its end in `directory` (standard output and error as for runProgram) and
// collects its outputs and exit status.
RunOutputs runAndCollect(const std::string& program, const std::filesystem::path& directory,
                         const std::string& consolePath = "console.out");

// The same in a fresh scratch directory, removed afterwards.
RunOutputs runAndCollect(const std::string& program);

// The complete run of `program`, made once per test process.
const RunOutputs& referenceRun(const std::string& program);

// What a program said when started with `arguments` in a scratch directory holding an earlier
// run's files (the complete run's first lines, as a stop leaves them), and whether it left that
// directory exactly as it was: no file changed, none added or taken away.
struct Answer {
    int status = -1;
    std::string output, errors;  // standard output and error
    bool untouched = false;
};
Answer askProgram(const std::string& program, const std::vector<std::string>& arguments);

// The programs built for the tests: the one the build chose, and each arithmetic's ("double",
// "extended") with the correctly rounded powers.
struct BuiltProgram {
    std::string name;
    std::string path;
};
std::string chosenProgram();
const std::vector<BuiltProgram>& programsByArithmetic();

// Test names show the program's name rather than the bytes of the struct.
inline void PrintTo(const BuiltProgram& program, std::ostream* out) {
    *out << program.name;
}
