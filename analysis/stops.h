#pragma once

// A stop from outside (SIGINT, SIGTERM or SIGHUP; on Windows Ctrl+C, Ctrl+Break or the console
// closing) ends the gnuplot the report started and waits for it, removes the report's staging
// directory with what it holds, and ends the report with status 128 + the signal's number (2
// for Ctrl+C, 21 for Ctrl+Break, 1 for the console closing). A stop that the report was started
// to ignore (nohup) stays ignored. The platform's part is in stops_posix.cpp or stops_windows.cpp.
void catchStops();

// While one is alive, a stop waits: the record of what a stop removes is being changed, or the
// outputs are being moved into the run's directory, which must happen whole or not at all.
class StopsHeld {
  public:
    StopsHeld();
    ~StopsHeld();
    StopsHeld(const StopsHeld&) = delete;
    StopsHeld& operator=(const StopsHeld&) = delete;
};
