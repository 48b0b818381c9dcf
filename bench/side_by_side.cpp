// Whole-process CPU time (user + system) of several programs run side by side: one round runs each
// of them once, in turn, each in a scratch directory of its own, and the rounds repeat. Reported
// are the median CPU time of each program and, for every two of them, the median over the rounds
// of the ratio within a round, so that a slow spell of the shared machine weighs on both sides of
// a ratio alike.
//
//   argon-md-side-by-side [--rounds N] [--floor FLOOR RUN_DIR] [--lammps LMP INPUT_DIR]
//                         NAME=PROGRAM...
//
// With --floor, the write floor (the program FLOOR, bench/write_floor.cpp) replays the files of
// the run in RUN_DIR with the program's write calls, as the first program; every other program's
// CPU time is also given as a multiple of it. With --lammps, LAMMPS (the program LMP) runs the
// same job from INPUT_DIR (in.md and its data file) as the last program, with the positions
// dumped every 10 steps, as argon-md writes them; every program is also given against it.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Contender {
    std::string name;
    std::vector<std::string> command;
    std::vector<double> seconds;  // CPU time of each round, s
};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "argon-md-side-by-side: %s\n", message.c_str());
    std::exit(2);
}

// Runs `command` in `directory` with its output going to files there; returns user + system
// CPU time, s.
double cpuSeconds(const std::vector<std::string>& command, const fs::path& directory) {
    const pid_t pid = fork();
    if (pid < 0) {
        fail(std::string("cannot start a program: ") + std::strerror(errno));
    }
    if (pid == 0) {
        const int out =
            open((directory / "console.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || chdir(directory.c_str()) != 0 || dup2(out, 1) < 0) {
            _exit(126);
        }
        std::vector<char*> argv;
        for (const std::string& word : command) {
            argv.push_back(const_cast<char*>(word.c_str()));
        }
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) {
        fail(std::string("cannot wait for ") + command[0] + ": " + std::strerror(errno));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fail(command[0] + " failed (status " + std::to_string(status) + ")");
    }
    const auto seconds = [](timeval t) { return double(t.tv_sec) + 1e-6 * double(t.tv_usec); };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 7;
    std::string lammps;
    std::string lammpsInput;
    std::vector<Contender> contenders;
    std::vector<std::string> floorCommand;  // the floor's command, when asked for
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--rounds" && i + 1 < argc) {
            rounds = std::atoi(argv[++i]);
        } else if (argument == "--floor" && i + 2 < argc) {
            floorCommand = {fs::absolute(argv[i + 1]).string(), fs::absolute(argv[i + 2]).string()};
            i += 2;
        } else if (argument == "--lammps" && i + 2 < argc) {
            lammps = argv[++i];
            lammpsInput = argv[++i];
        } else if (const auto equals = argument.find('='); equals != std::string::npos) {
            contenders.push_back({argument.substr(0, equals),
                                  {fs::absolute(argument.substr(equals + 1)).string()},
                                  {}});
        } else {
            fail(
                "usage: argon-md-side-by-side [--rounds N] [--floor FLOOR RUN_DIR] "
                "[--lammps LMP INPUT_DIR] NAME=PROGRAM...");
        }
    }
    if (rounds < 1 || contenders.empty()) {
        fail("nothing to run");
    }
    if (!floorCommand.empty()) {
        contenders.insert(contenders.begin(), {"floor", floorCommand, {}});
    }
    if (!lammpsInput.empty()) {
        if (!fs::exists(fs::path(lammpsInput) / "in.md")) {
            fail("no in.md in " + lammpsInput);
        }
        contenders.push_back(
            {"lammps",
             {lammps, "-in", "in.md", "-var", "dumpev", "10", "-log", "none", "-screen", "none"},
             {}});
    }

    const fs::path scratch =
        fs::temp_directory_path() / ("argon-md-side-by-side-" + std::to_string(getpid()));
    for (int round = 0; round < rounds; ++round) {
        for (Contender& contender : contenders) {
            const fs::path directory = scratch / contender.name;
            fs::remove_all(directory);
            fs::create_directories(directory);
            if (contender.name == "lammps") {
                for (const auto& entry : fs::directory_iterator(lammpsInput)) {
                    fs::copy(entry.path(), directory / entry.path().filename());
                }
            }
            contender.seconds.push_back(cpuSeconds(contender.command, directory));
        }
    }
    fs::remove_all(scratch);

    std::printf("CPU time (user + system), median of %d rounds:\n", rounds);
    for (const Contender& contender : contenders) {
        std::printf("  %-10s %.3f s\n", contender.name.c_str(), median(contender.seconds));
    }
    const auto ratio = [rounds](const Contender& a, const Contender& b) {
        std::vector<double> ratios;
        for (int round = 0; round < rounds; ++round) {
            ratios.push_back(a.seconds[round] / b.seconds[round]);
        }
        return median(ratios);
    };
    // Each program against the one named `base`, when it ran.
    const auto against = [&](const char* base, const char* heading) {
        const auto found = std::find_if(contenders.begin(), contenders.end(),
                                        [base](const Contender& c) { return c.name == base; });
        if (found == contenders.end()) {
            return;
        }
        std::printf("%s, median over the rounds:\n", heading);
        for (const Contender& contender : contenders) {
            if (&contender != &*found) {
                std::printf("  %-20s %.3f\n", (contender.name + " / " + base).c_str(),
                            ratio(contender, *found));
            }
        }
    };
    against("floor", "Against the write floor");
    against("lammps", "Against LAMMPS");
    std::printf("Ratios, median over the rounds:\n");
    for (std::size_t a = 0; a < contenders.size(); ++a) {
        for (std::size_t b = a + 1; b < contenders.size(); ++b) {
            std::printf("  %s / %s: %.3f\n", contenders[a].name.c_str(), contenders[b].name.c_str(),
                        ratio(contenders[a], contenders[b]));
        }
    }
    return 0;
}
