#pragma once

#include <string>
#include <vector>

#include "analysis/compute/sample_averages.h"
#include "analysis/known_fluid/run_check.h"

// "validation.txt": the run against the known Lennard-Jones fluid. The table first, then, so that
// a student can follow each step, the state point and its reduced units, the run's averages and
// how their errors were found, and each comparison with every correction and its source
// (derived in docs/known-fluid.md).
std::string validationText(const SampleAverages& averages, const RunCheck& check,
                           const ProgramConstants& constants);

// The same check on standard output, in a few short lines: the table, or why there is none.
std::vector<std::string> validationSummary(const SampleAverages& averages, const RunCheck& check);
