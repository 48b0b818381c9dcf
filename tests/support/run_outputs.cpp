#include "support/run_outputs.h"

#include <gtest/gtest.h>

#include <fstream>
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

void expectRunLike(const RunOutputs& run, const RunOutputs& complete, const std::string& error,
                   std::string RunOutputs::*lost) {
    EXPECT_EQ(run.status, error.empty() ? 0 : 1) << error;
    EXPECT_EQ(run.errors, error);
    for (const OutputFile& file : kOutputFiles) {
        EXPECT_TRUE(file.bytes == lost || run.*file.bytes == complete.*file.bytes)
            << error << ": " << file.name;
    }
}

void expectCompleteLinesOnly(const RunOutputs& part, const RunOutputs& complete) {
    for (const OutputFile& file : kOutputFiles) {
        const std::string& written = part.*file.bytes;
        EXPECT_EQ((complete.*file.bytes).compare(0, written.size(), written), 0)
            << file.name << " is not the complete run's beginning";
        // The console takes each item as it comes; the data files take whole lines.
        EXPECT_TRUE(file.bytes == &RunOutputs::console || written.empty() ||
                    written.ends_with("\r\n"))
            << file.name;
    }
}

RunOutputs runAndCollect(const std::string& program, const fs::path& directory,
                         const std::string& consolePath) {
    const int status = runProgram(program, directory, consolePath);
    RunOutputs out = collectOutputs(directory);
    out.status = status;
    return out;
}

RunOutputs runAndCollect(const std::string& program) {
    const fs::path directory = makeScratchDirectory();
    RunOutputs out = runAndCollect(program, directory);
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

Answer askProgram(const std::string& program, const std::vector<std::string>& arguments) {
    const fs::path directory = makeScratchDirectory();
    const fs::path answers = makeScratchDirectory();
    const RunOutputs& complete = referenceRun(chosenProgram());
    for (const OutputFile& file : kOutputFiles) {
        const std::string& bytes = complete.*file.bytes;
        std::ofstream(directory / file.name, std::ios::binary)
            << bytes.substr(0, bytes.find("\r\n", 1000) + 2);
    }
    const auto before = treeOf(directory);
    Answer answer;
    answer.status = runProgram(program, directory, (answers / "output").string(),
                               (answers / "errors").string(), arguments);
    answer.output = readFile(answers / "output");
    answer.errors = readFile(answers / "errors");
    answer.untouched = treeOf(directory) == before;
    fs::remove_all(directory);
    fs::remove_all(answers);
    return answer;
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
