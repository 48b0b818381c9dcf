#pragma once

#include <initializer_list>
#include <string>

// The pieces of gnuplot's script that every picture uses. Numbers reach the script only through
// these and formatted(); names only as the fixed output names of write/staging.h.

// A picture: the output it draws (one of kOutputNames) and the commands that draw it, after the
// settings that draw_pictures.cpp gives every picture.
struct Picture {
    const char* name;
    std::string script;
};

// A gnuplot data block, `$name << EOD` to `EOD`: a row of numbers a line, each to `digits`
// significant digits, and data sets (an index each) two blank lines apart.
struct DataBlock {
    std::string text;
};
DataBlock startBlock(const char* name);
void addRow(DataBlock& block, std::initializer_list<double> values, int digits = 9);
void endDataSet(DataBlock& block);
std::string finished(DataBlock block);

// Sends what is drawn next to output `name`, in gnuplot's working directory.
std::string outputCommand(const char* name);

// PNG pictures of `width` × `height` pixels, their text as written (no markup) in 11 points.
std::string pngTerminal(int width, int height);
