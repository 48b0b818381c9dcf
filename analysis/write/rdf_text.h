#pragma once

#include <optional>
#include <string>

#include "analysis/compute/rdf.h"
#include "analysis/compute/rdf_peak.h"

// g(r)'s first shell as the report found it.
struct RdfSummary {
    const Rdf& rdf;
    const std::optional<FirstShell>& shell;
    const std::optional<FittedPeak>& peak;
};

// "rdf.txt": the summary line and how it was found, as comment lines, the columns' names, then
// "r g" per bin (Å at the bin centre, g).
std::string rdfText(const RdfSummary& summary);

// g(r)'s first peak and shell in one line: the peak with its errors, and the first shell where
// its minimum is significant, or that there is no distinct one.
std::string rdfSummaryLine(const RdfSummary& summary);

// Why there is no g(r), in one line.
std::string noRdfLine();
