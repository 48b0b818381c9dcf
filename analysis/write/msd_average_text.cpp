#include "analysis/write/msd_average_text.h"

#include "analysis/formatted.h"

std::string msdAverageText(const MsdAverage& m) {
    std::string text = formatted(
        "# the MSD averaged over every time origin from %g ps on, and the origins averaged\n"
        "# lag/ps MSD/Å² origins\n",
        m.firstOriginTime);
    for (std::size_t k = 0; k < m.msd.size(); ++k) {
        text += formatted("%.9g %.9g %zu\n", lagTime(m, k), m.msd[k], m.origins[k]);
    }
    return text;
}
