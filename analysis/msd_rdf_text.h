#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/msd_average.h"
#include "analysis/multi_origin_fit.h"
#include "analysis/rdf.h"

// "msd-average.txt": a header line, then "lag MSD origins" per lag (ps, Å², count).
std::string msdAverageText(const MsdAverage& msd);

// "rdf.txt": a header line, then "r g" per bin (Å at the bin centre, g).
std::string rdfText(const Rdf& rdf, double fromTime);

// The lines that open "diffusion.txt": D from the averaged MSD, its window and its error, or
// why there is none. The last line introduces the single-origin fit that follows them.
std::vector<std::string> multiOriginReport(const MsdAverage& msd,
                                           const std::optional<MultiOriginFit>& fit);

// The first shell of g(r), in one line.
std::string firstShellLine(const Rdf& rdf, double fromTime, const std::optional<FirstShell>& shell);
