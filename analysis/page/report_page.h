#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What report.html shows, as the report found it. Every text arrives written out (numbers
// formatted, units named) and is shown as plain text; the page computes nothing from it.

// One row of the check against the known Lennard-Jones fluid.
struct CheckRow {
    std::string observable;  // e.g. "D (Å²/ps)"
    std::string thisRun;     // the run's value with its error
    std::string reference;   // the published value
    std::string difference;  // (run - reference) in standard errors
};

// A picture the report drew: its file name and its bytes. The page knows, and shows in this
// order, energy.png, temperature.png, msd.png, rdf.png, snapshot.png and trajectory.gif.
struct PagePicture {
    std::string name;
    std::string bytes;
};

// The frames for the interactive view of the atoms.
struct ViewerFrames {
    std::size_t atomCount = 0;
    std::array<double, 3> edge{};  // cell edges (Å)
    double atomDiameter = 0.0;     // Å: σ, the spheres' diameter
    double firstTime = 0.0;        // ps, of the first frame given
    double interval = 0.0;         // ps between the frames given
    // Frame after frame, atom after atom, x y z (Å), each inside the cell [0, edge).
    std::vector<double> positions;
};

struct ReportPage {
    // Each a paragraph; an empty list is left out.
    std::vector<std::string> run;        // what was simulated, and notes on the files
    std::vector<std::string> diffusion;  // D ± its error and how it was found
    std::vector<std::string> rdf;        // the g(r) summary
    std::vector<CheckRow> check;         // empty: no check against the known fluid
    std::string checkNote;               // under the check's table: its references
    std::vector<PagePicture> pictures;   // in any order; the page shows them in its own
    std::optional<ViewerFrames> viewer;  // none: no interactive view
};

// The whole page, self-contained: styles, pictures (as data URLs), frames and viewer inside it.
// Throws std::invalid_argument for a picture the page does not know and for viewer frames that
// do not hold whole frames of a positive number of atoms or whose numbers are not finite.
std::string reportPageHtml(const ReportPage& page);
