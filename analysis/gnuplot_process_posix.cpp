#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "analysis/gnuplot_process.h"
#include "analysis/plots.h"

extern char** environ;

int runGnuplot(const std::filesystem::path& script) {
    std::string program = "gnuplot";
    std::string argument = script.string();
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, "gnuplot", nullptr, nullptr, argv, environ);
    if (error == ENOENT) {
        throw GnuplotMissing("install it, e.g. apt-get install gnuplot-nox");
    }
    if (error != 0) {
        throw std::runtime_error(std::string("gnuplot could not be started: ") +
                                 std::strerror(error));
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error(std::string("waiting for gnuplot failed: ") +
                                     std::strerror(errno));
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
