#include <windows.h>

#include "analysis/plot/gnuplot_process.h"
#include "analysis/stops.h"
#include "analysis/write/staging.h"

// Windows runs a console handler in a thread of its own. It takes the same lock that holds the
// stops, so it waits while the report's thread changes what it removes or moves the outputs,
// and ends the process before that thread can go on.
namespace {

struct Lock {
    CRITICAL_SECTION section;
    Lock() { InitializeCriticalSection(&section); }
};
Lock held;

BOOL WINAPI onStop(DWORD event) {
    // The numbers of SIGINT and SIGBREAK in the C runtime; a closed console as SIGHUP.
    const UINT signal = event == CTRL_C_EVENT ? 2 : event == CTRL_BREAK_EVENT ? 21 : 1;
    EnterCriticalSection(&held.section);
    endRunningGnuplot();
    removeStagingAtWork();
    ExitProcess(128 + signal);
}

}  // namespace

void catchStops() {
    SetConsoleCtrlHandler(onStop, TRUE);
}

StopsHeld::StopsHeld() {
    EnterCriticalSection(&held.section);
}

StopsHeld::~StopsHeld() {
    LeaveCriticalSection(&held.section);
}
