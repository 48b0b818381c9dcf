#pragma once

#include <optional>

#include "analysis/compute/rdf.h"
#include "analysis/plot/gnuplot_script.h"

// rdf.png: g(r) as steps centred on their bins, the ideal gas's 1, and the first minimum with the
// neighbours within it.
Picture rdfPicture(const Rdf& rdf, const std::optional<FirstShell>& shell);
