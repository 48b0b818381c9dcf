#include "analysis/write/msd_average_text.h"

#include "analysis/formatted.h"

std::string msdAverageText(const MsdAverage& m) {
    std::string text = "# lag (ps), MSD (Å²) averaged over every time origin, origins averaged\n";
    for (std::size_t k = 0; k < m.msd.size(); ++k) {
        text += formatted("%.9g %.9g %zu\n", lagTime(m, k), m.msd[k], m.origins[k]);
    }
    return text;
}
