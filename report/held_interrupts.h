#pragma once

// Holds back the signals that stop a run from outside (SIGINT, SIGTERM, SIGHUP, SIGQUIT) for as
// long as it lives, and lets them through when it ends: their default action then ends the
// process between two lines. Without it a stop could leave half a line behind: a fatal signal
// that arrives during a write(2) to a file cuts the write short where it crosses a page.
//
// Windows ends a process on Ctrl+C from a thread of its own, which cannot cut a write short;
// there it does nothing.
#if defined(_WIN32)
class HeldInterrupts {
  public:
    HeldInterrupts() {}
    ~HeldInterrupts() {}
};
#else
#include <signal.h>

class HeldInterrupts {
  public:
    HeldInterrupts();
    ~HeldInterrupts();
    HeldInterrupts(const HeldInterrupts&) = delete;
    HeldInterrupts& operator=(const HeldInterrupts&) = delete;

  private:
    sigset_t previous_;
};
#endif
