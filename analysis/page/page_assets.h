#pragma once

#include <string_view>

// The page's style sheet and scripts, from the files beside this one, built into the program
// (EmbedAssets.cmake) so that the page needs nothing at view time.
extern const std::string_view kPageStyle;        // page.css
extern const std::string_view kViewerScript;     // viewer.js: the interactive view of the atoms
extern const std::string_view kSelfCheckScript;  // selfcheck.js: the page's test of itself
