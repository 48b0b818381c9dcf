#include "analysis/plot/gnuplot_script.h"

#include "analysis/formatted.h"

DataBlock startBlock(const char* name) {
    DataBlock block{"$"};
    block.text += name;
    block.text += " << EOD\n";
    return block;
}

void addRow(DataBlock& block, std::initializer_list<double> values, int digits) {
    bool first = true;
    for (double value : values) {
        if (!first) {
            block.text += ' ';
        }
        block.text += formatted("%.*g", digits, value);
        first = false;
    }
    block.text += '\n';
}

void endDataSet(DataBlock& block) {
    block.text += "\n\n";
}

std::string finished(DataBlock block) {
    return block.text + "EOD\n";
}

std::string outputCommand(const char* name) {
    return "set output '" + std::string(name) + "'\n";
}

std::string pngTerminal(int width, int height) {
    return formatted("set terminal pngcairo size %d,%d noenhanced font ',11'\n", width, height);
}
