#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "analysis/plot/gnuplot_process.h"
#include "analysis/stops.h"
#include "analysis/write/staging.h"

extern char** environ;

namespace {

// gnuplot's pid while it runs, else 0; written with the stops held.
pid_t running = 0;

[[noreturn]] void failed(const char* what, int error) {
    throw std::runtime_error(std::string(what) + std::strerror(error));
}

}  // namespace

void endRunningGnuplot() {
    if (running > 0) {
        kill(running, SIGKILL);
        int status = 0;
        while (waitpid(running, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

int runGnuplot(const Staging& staging) {
    std::string program = "gnuplot";
    std::string script = kPlotScript;
    char* argv[] = {program.data(), script.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addfchdir_np(&actions, staging.descriptor());
    // What gnuplot says goes into the staging directory, to be shown only if it fails: it tells
    // of every animation it finishes, which is no news to the report's reader.
    posix_spawn_file_actions_addopen(&actions, 2, kPlotMessages,
                                     O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0600);
    posix_spawn_file_actions_adddup2(&actions, 2, 1);
    // The stops are held while gnuplot starts; it must not start with them blocked.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    pid_t pid = 0;
    int error = 0;
    {
        const StopsHeld held;
        error = posix_spawnp(&pid, "gnuplot", &actions, &attributes, argv, environ);
        running = error == 0 ? pid : 0;
    }
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error == ENOENT) {
        throw GnuplotMissing("install it, e.g. apt-get install gnuplot-nox");
    }
    if (error != 0) {
        failed("gnuplot could not be started: ", error);
    }
    // Waited for without being reaped, so that its pid cannot pass to another process while a
    // stop may still end it by that pid; reaped with the stops held.
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) < 0) {
        if (errno != EINTR) {
            const int waitError = errno;
            const StopsHeld held;
            endRunningGnuplot();
            running = 0;
            failed("waiting for gnuplot failed: ", waitError);
        }
    }
    int status = 0;
    {
        const StopsHeld held;
        waitpid(pid, &status, 0);
        running = 0;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
