#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/compute/diffusion.h"
#include "analysis/compute/rdf_peak.h"
#include "analysis/known_fluid/run_check.h"
#include "analysis/page/report_page.h"

// The table of the check against the known Lennard-Jones fluid: observable, this run, reference,
// difference in the run's standard errors with its word. One row per reference; a row only where
// the run measured the observable and the reference holds at its state.
std::vector<CheckRow> validationRows(const RunCheck& check);

// The plain word for a difference of `difference` standard errors: "agrees" within 2,
// "marginal" from 2 to 3 (a difference that one run in twenty shows by chance alone), "differs"
// beyond 3.
const char* verdict(double difference);

// "+0.6 agrees", "-3.4 differs": to a tenth, the word for the figure shown.
std::string differenceText(double difference);

// `value ± error` with the error to two significant digits and the value to the same decimal
// place; `value` alone, to that place, when `error` is not given.
std::string withError(double value, double error);
std::string toPlaceOf(double value, double error);

// The rows as lines of aligned columns under a header, each starting with `indent`.
std::vector<std::string> tableLines(const std::vector<CheckRow>& rows, const char* indent);
