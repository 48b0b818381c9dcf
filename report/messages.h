#pragma once

#include "report/line_sink.h"

// The fixed console messages of the run, in Shift-JIS (code page 932) bytes.

void writeCellEdgeLine(LineSink& console, double edge);
void writeOverlapLine(LineSink& console, int atom);
void writePlacementDoneLine(LineSink& console, int atomCount);
void writeVelocityLine(LineSink& console);
void writeCompletionLine(LineSink& console);
