#pragma once

#include <initializer_list>
#include <string>

#include "analysis/read/energy_file.h"

// The vertical range of a plot of energy.dat's samples. The first samples of a run hold its hot
// start, thousands of kelvin above the rest; scaling the axis to them would flatten the settled
// run into a line. This share of the run is left out of the axis range (its curve then leaves
// through the top of the picture).
inline constexpr std::size_t kOffScaleShare = 50;  // 1/50 of the samples

struct AxisRange {
    double low = 0.0;
    double high = 0.0;
};

// One quantity of a sample.
using SampleField = double (*)(const EnergySample&);

// The range of `fields` over the settled run, with a margin. Values read are finite, but two far
// apart can put the range itself beyond the numbers: InputError then names their lines.
AxisRange settledRange(const EnergyFile& energy, std::initializer_list<SampleField> fields);

// Words for the title when the start of the run leaves the range `shown`; empty otherwise.
std::string offScaleNote(const EnergyFile& energy, std::initializer_list<SampleField> fields,
                         AxisRange shown, const char* unit);

// The distance between ticks, 1, 2 or 5 times a power of ten, that puts at most `mostTicks`
// intervals into `span` (positive); not finite when `span` is not.
double tickStep(double span, int mostTicks);

// The horizontal axis of a time or a lag (ps) running from `first` to `last`: `label`, and a
// range from a tick at or before `first` to the first tick at or after `last`, so that the axis
// reaches the end of the data and is labelled there. The ticks are 1, 2 or 5 times a power of
// ten apart, at most kMostTimeTicks of them. InputError, naming `source`, when the times are too
// far apart for an axis.
inline constexpr int kMostTimeTicks = 10;
std::string timeAxis(const char* label, double first, double last, const std::string& source);
