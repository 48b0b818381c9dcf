#include <signal.h>
#include <unistd.h>

#include "analysis/plot/gnuplot_process.h"
#include "analysis/stops.h"
#include "analysis/write/staging.h"

// The cleanup runs in the signal handler itself. What it reads (gnuplot's pid, the staging
// directory's descriptors and name) is written only while the stops are blocked, so the handler
// never sees it half written; and it calls only async-signal-safe functions (kill, waitpid,
// unlinkat, _exit). The other way, a thread waiting for the blocked signals, would race with
// the report's own thread, which may be creating a file in the staging directory as it is removed.
namespace {

constexpr int kStops[] = {SIGINT, SIGTERM, SIGHUP};

sigset_t stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kStops) {
        sigaddset(&set, signal);
    }
    return set;
}

void onStop(int signal) {
    endRunningGnuplot();
    removeStagingAtWork();
    _exit(128 + signal);
}

int heldDepth = 0;
sigset_t beforeHeld;

}  // namespace

void catchStops() {
    struct sigaction action {};
    action.sa_handler = onStop;
    action.sa_mask = stopSignals();  // one stop at a time
    for (int signal : kStops) {
        struct sigaction before {};
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN) {
            sigaction(signal, &action, nullptr);
        }
    }
}

StopsHeld::StopsHeld() {
    if (heldDepth++ == 0) {
        const sigset_t stops = stopSignals();
        pthread_sigmask(SIG_BLOCK, &stops, &beforeHeld);
    }
}

StopsHeld::~StopsHeld() {
    if (--heldDepth == 0) {
        pthread_sigmask(SIG_SETMASK, &beforeHeld, nullptr);
    }
}
