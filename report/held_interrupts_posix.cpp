#include <initializer_list>

#include "report/held_interrupts.h"

HeldInterrupts::HeldInterrupts() {
    sigset_t stops;
    sigemptyset(&stops);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        sigaddset(&stops, signal);
    }
    sigprocmask(SIG_BLOCK, &stops, &previous_);
}

HeldInterrupts::~HeldInterrupts() {
    sigprocmask(SIG_SETMASK, &previous_, nullptr);
}
