#include "analysis/plot/cell_drawing.h"

#include "analysis/formatted.h"

std::string cellBlock(const Edges& edge) {
    DataBlock block = startBlock("cell");
    const auto corner = [&](int c) {
        addRow(block, {(c & 1) ? edge[0] : 0.0, (c & 2) ? edge[1] : 0.0, (c & 4) ? edge[2] : 0.0});
    };
    for (int c = 0; c < 8; ++c) {
        for (int bit : {1, 2, 4}) {
            if ((c & bit) == 0) {
                corner(c);
                corner(c | bit);
                endDataSet(block);
            }
        }
    }
    return finished(block);
}

std::string cellView(const Edges& edge) {
    return formatted(
        "set xrange [0:%.9g]\nset yrange [0:%.9g]\nset zrange [0:%.9g]\n"
        "set view equal xyz\nset view 60, 30\nset xyplane at 0\nunset key\n"
        "set xlabel 'x (Å)'\nset ylabel 'y (Å)'\nset zlabel 'z (Å)' rotate\n",
        edge[0], edge[1], edge[2]);
}

void addAtoms(DataBlock& block, const double* xyz, std::size_t atoms) {
    for (std::size_t a = 0; a < atoms; ++a) {
        addRow(block, {xyz[3 * a], xyz[3 * a + 1], xyz[3 * a + 2]}, 6);
    }
}
