#pragma once

#include "analysis/plot/gnuplot_script.h"
#include "analysis/write/rdf_text.h"

// rdf.png: g(r) as steps centred on their bins and the ideal gas's 1, under a title naming the
// frames averaged, from when, and the bin width; the fitted peak; the first minimum with the
// neighbours within it where the minimum is significant, and otherwise a note that there is no
// distinct first shell.
Picture rdfPicture(const RdfSummary& summary);
