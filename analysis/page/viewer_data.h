#pragma once

#include <string>

#include "analysis/page/report_page.h"

// The frames as the viewer reads them: a JSON object with the atom count, the cell's edges,
// the spheres' diameter, the first frame's time and the time between frames, and the
// positions as little-endian 32-bit floats in base64 (5.3 characters a number; its 24 bits
// keep a position in a 25 Å cell to 2e-6 Å). Throws std::invalid_argument for frames that do
// not hold whole frames of a positive number of atoms, or numbers that are not finite.
std::string viewerJson(const ViewerFrames& frames);
