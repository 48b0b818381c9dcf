#pragma once

#include <cstddef>
#include <string>

// How many samples of each of the three files a report covers.
struct ReportedCounts {
    std::size_t energy = 0;
    std::size_t frames = 0;
    std::size_t msd = 0;
    // The one file shorter than the other two, which agree with each other, as a full disk
    // leaves it; empty when the three tell one story.
    std::string shortFile;
};

// For each sample a run writes its energy line, then its frame, then its MSD line, so a run
// stopped at any point leaves M ≤ F ≤ E ≤ M + 1 (E energy lines, F complete frames, M MSD
// lines): all are reported. One file shorter than the other two, where those agree, is reported
// for the samples all three hold. Anything else throws InputError naming the three counts.
ReportedCounts reconcileCounts(std::size_t energyLines, std::size_t frames, std::size_t msdLines);

// The frames worth handing over before they are counted: those that reconcileCounts can
// report, whatever the count of frames turns out to be.
std::size_t framesToHandOver(std::size_t energyLines, std::size_t msdLines);
