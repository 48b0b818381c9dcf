#include "support/run_outputs.h"

#include <map>
#include <vector>

#include "support/program_run.h"

namespace fs = std::filesystem;

namespace {
std::string readIfRegular(const fs::path& path) {
    return fs::is_regular_file(path) ? readFile(path) : std::string();
}
}  // namespace

RunOutputs collectOutputs(const fs::path& directory) {
    RunOutputs out;
    out.console = readIfRegular(directory / "console.out");
    out.errors = readIfRegular(directory / "error.out");
    out.position = readIfRegular(directory / "position.dat");
    out.energy = readIfRegular(directory / "energy.dat");
    out.msd = readIfRegular(directory / "msd.dat");
    return out;
}

RunOutputs runAndCollect(const std::string& program) {
    const fs::path directory = makeScratchDirectory();
    const int status = runProgram(program, directory);
    RunOutputs out = collectOutputs(directory);
    out.status = status;
    fs::remove_all(directory);
    return out;
}

const RunOutputs& referenceRun(const std::string& program) {
    static std::map<std::string, RunOutputs> runs;
    auto found = runs.find(program);
    if (found == runs.end()) {
        found = runs.emplace(program, runAndCollect(program)).first;
    }
    return found->second;
}

std::string chosenProgram() {
    return ARGON_MD_PROGRAM;
}

const std::vector<BuiltProgram>& programsByArithmetic() {
    static const std::vector<BuiltProgram> programs = {
        {"double", ARGON_MD_PROGRAM_DOUBLE},
#ifdef ARGON_MD_PROGRAM_EXTENDED
        {"extended", ARGON_MD_PROGRAM_EXTENDED},
#endif
    };
    return programs;
}

const std::vector<BuiltProgram>& libmProgramsByArithmetic() {
    static const std::vector<BuiltProgram> programs = {
        {"double_libm", ARGON_MD_PROGRAM_DOUBLE_LIBM},
#ifdef ARGON_MD_PROGRAM_EXTENDED_LIBM
        {"extended_libm", ARGON_MD_PROGRAM_EXTENDED_LIBM},
#endif
    };
    return programs;
}
