// libFuzzer target: any bytes as the report's DIR, without gnuplot. A sandbox holds small runs
// under names that mean something to a shell or to gnuplot, and the report runs from there with
// its TMPDIR inside the sandbox. After each input nothing in the sandbox may have changed but the
// outputs of the directory the input names, which are then removed again.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "analysis/fuzz/fuzz_input.h"
#include "analysis/read/text_input.h"
#include "analysis/report.h"
#include "analysis/write/staging.h"

namespace fs = std::filesystem;

namespace {

fs::path sandbox;

// Each entry under the sandbox: its type, and for a file its size and time of last change, which
// a write moves on (a directory's moves as entries come and go).
std::map<std::string, std::string> entries() {
    std::map<std::string, std::string> found;
    for (auto it = fs::recursive_directory_iterator(sandbox);
         it != fs::recursive_directory_iterator(); ++it) {
        struct stat status {};
        lstat(it->path().c_str(), &status);
        std::string what = std::to_string(status.st_mode);
        if (!S_ISDIR(status.st_mode)) {
            what += " " + std::to_string(status.st_size) + " " +
                    std::to_string(status.st_ctim.tv_sec) + "." +
                    std::to_string(status.st_ctim.tv_nsec);
        }
        found[it->path().lexically_relative(sandbox).string()] = what;
    }
    return found;
}

std::map<std::string, std::string> pristine;

bool isOutput(const fs::path& name) {
    for (const char* output : kOutputNames) {
        if (name == output) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (fs::temp_directory_path() / "argon-md-fuzz-dir-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) {
        std::abort();
    }
    sandbox = pattern;
    fs::create_directory(sandbox / "tmp");
    setenv("TMPDIR", (sandbox / "tmp").c_str(), 1);
    setenv("PATH", "/nonexistent", 1);  // no gnuplot
    std::cout.rdbuf(nullptr);
    const std::string position =
        "1 2 3\r\n20 20 20\r\n0 0.04\r\n1 2 3\r\n11 12 13\r\n1.1 2 3\r\n11 12 13\r\n";
    for (const char* dir : {"run", "nl/run\nsystem \"touch pwned\"\n#",
                            "|touch pwned2; cat >/dev/null; echo ", "-h", "'run"}) {
        fs::create_directories(sandbox / dir);
        std::ofstream(sandbox / dir / "position.dat", std::ios::binary) << position;
        std::ofstream(sandbox / dir / "energy.dat", std::ios::binary)
            << "0, 1, 2, 3, 700\r\n40, 1, 2, 3, 700\r\n";
        std::ofstream(sandbox / dir / "msd.dat", std::ios::binary) << "0,  0, \r\n40,  0.01, \r\n";
    }
    pristine = entries();
    std::atexit([] { fs::remove_all(sandbox); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // As a program's argument: up to the first NUL.
    const std::string text = fuzzText(data, size);
    const fs::path dir = text.substr(0, text.find('\0'));
    try {
        reportRun(dir, [](const std::string&) {});
    } catch (const InputError&) {
    } catch (const OutputError&) {
    }
    const auto now = entries();
    for (const auto& [name, what] : now) {
        const auto before = pristine.find(name);
        if (before != pristine.end() && before->second == what) {
            continue;
        }
        // New or changed: only an output, in the very directory the input names.
        const fs::path path = sandbox / name;
        std::error_code ec;
        if (!isOutput(path.filename()) || !fs::equivalent(path.parent_path(), dir, ec)) {
            std::cerr << "the report wrote " << name << " for DIR \"" << dir.string() << "\"\n";
            std::abort();
        }
        fs::remove(path);
    }
    for (const auto& [name, what] : pristine) {
        if (!now.contains(name)) {
            std::abort();  // something was removed
        }
    }
    return 0;
}
