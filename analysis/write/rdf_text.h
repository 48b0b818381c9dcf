#pragma once

#include <optional>
#include <string>

#include "analysis/compute/rdf.h"

// "rdf.txt": a header line, then "r g" per bin (Å at the bin centre, g).
std::string rdfText(const Rdf& rdf);

// The first shell of g(r), in one line.
std::string firstShellLine(const Rdf& rdf, const std::optional<FirstShell>& shell);

// Why there is no g(r), in one line.
std::string noRdfLine();
