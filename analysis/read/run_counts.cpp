#include "analysis/read/run_counts.h"

#include "analysis/formatted.h"
#include "analysis/read/text_input.h"

namespace {

// Two counts that a stop of the run could leave, the file written first holding `earlier`.
bool inStep(std::size_t earlier, std::size_t later) {
    return later <= earlier && earlier <= later + 1;
}

}  // namespace

ReportedCounts reconcileCounts(std::size_t e, std::size_t f, std::size_t m) {
    if (inStep(e, f) && inStep(f, m) && e <= m + 1) {
        return {e, f, m, ""};
    }
    if (e < f && e < m && inStep(f, m)) {
        return {e, e, e, "energy.dat"};
    }
    if (f < e && f < m && inStep(e, m)) {
        return {f, f, f, "position.dat"};
    }
    if (m < e && m < f && inStep(e, f)) {
        return {m, m, m, "msd.dat"};
    }
    throw InputError(formatted(
        "position.dat, energy.dat and msd.dat are not the files of one run (energy lines: %zu, "
        "frames: %zu, MSD lines: %zu): a run leaves each file at most one sample ahead of the "
        "next it writes",
        e, f, m));
}

std::size_t framesToHandOver(std::size_t e, std::size_t m) {
    return e <= m + 1 ? e : m;
}
