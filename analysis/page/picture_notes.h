#pragma once

#include <array>
#include <string_view>

// What the page says about each picture: a heading, the alternative text for readers who
// cannot see it, how to read it and what a healthy run shows.
struct PictureNote {
    std::string_view name;  // the file the report draws
    std::string_view heading;
    std::string_view alt;
    std::string_view howToRead;
    std::string_view healthyRun;
};

// In the order the page shows them.
extern const std::array<PictureNote, 6> kPictureNotes;
