#pragma once

#include <string>

// The same run written the straightforward way, as the yardstick for the program's speed: every
// pair recomputes its combined parameters and calls the power function four times, every
// conversion is repeated where it is used, and the output goes through iostreams with a flush
// per line. It writes the program's three data files and per-sample console lines into
// `directory`, or nothing at all when `directory` is empty.
void runStraightforward(const std::string& directory);
