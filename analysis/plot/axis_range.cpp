#include "analysis/plot/axis_range.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/formatted.h"

namespace {

// The lowest and highest value of `fields` from sample `from` on, and the samples that hold them.
struct Extremes {
    AxisRange range;
    std::size_t lowAt = 0;
    std::size_t highAt = 0;
};

Extremes extremes(const std::vector<EnergySample>& samples, std::size_t from,
                  std::initializer_list<SampleField> fields) {
    const double start = fields.begin()[0](samples[from]);
    Extremes e{{start, start}, from, from};
    for (std::size_t i = from; i < samples.size(); ++i) {
        for (SampleField field : fields) {
            const double value = field(samples[i]);
            if (value < e.range.low) {
                e.range.low = value;
                e.lowAt = i;
            }
            if (value > e.range.high) {
                e.range.high = value;
                e.highAt = i;
            }
        }
    }
    return e;
}

}  // namespace

AxisRange settledRange(const EnergyFile& energy, std::initializer_list<SampleField> fields) {
    const auto& samples = energy.samples;
    Extremes e =
        extremes(samples, std::min(samples.size() / kOffScaleShare, samples.size() - 1), fields);
    AxisRange& r = e.range;
    const double margin = std::max(0.05 * r.high - 0.05 * r.low, 1e-6 * std::max(1.0, r.high));
    r.low -= margin;
    r.high += margin;
    if (!std::isfinite(r.low) || !std::isfinite(r.high)) {
        const std::string lines =
            e.lowAt == e.highAt ? formatted("line %zu", e.lowAt + 1)
                                : formatted("lines %zu and %zu", std::min(e.lowAt, e.highAt) + 1,
                                            std::max(e.lowAt, e.highAt) + 1);
        throw InputError(energy.name + ", " + lines + ": the values are too far apart to plot");
    }
    return r;
}

std::string offScaleNote(const EnergyFile& energy, std::initializer_list<SampleField> fields,
                         AxisRange shown, const char* unit) {
    const AxisRange all = extremes(energy.samples, 0, fields).range;
    if (all.high > shown.high) {
        return formatted(" (the start, up to %g %s, is off the scale)", all.high, unit);
    }
    if (all.low < shown.low) {
        return formatted(" (the start, down to %g %s, is off the scale)", all.low, unit);
    }
    return "";
}

double tickStep(double span, int mostTicks) {
    const double power = std::pow(10.0, std::floor(std::log10(span / mostTicks)));
    double step = 10.0 * power;
    for (const double factor : {5.0, 2.0, 1.0}) {
        if (span / (factor * power) <= mostTicks) {
            step = factor * power;
        }
    }
    return step;
}

std::string timeAxis(const char* label, double first, double last, const std::string& source) {
    const double span = last > first ? last - first : std::max(1.0, std::abs(first));
    const double step = tickStep(span, kMostTimeTicks);
    // A last time a rounding above a tick (500 × 0.04 ps) ends on that tick.
    constexpr double kTolerance = 1e-9;
    const double low = std::floor(first / step + kTolerance) * step;
    double high = std::ceil(last / step - kTolerance) * step;
    if (high <= low) {
        high = low + step;
    }
    if (!std::isfinite(low) || !std::isfinite(high) || !(step > 0.0)) {
        throw InputError(source + ": the times are too far apart to plot");
    }
    return formatted("set xlabel '%s'\nset xrange [%.9g:%.9g]\nset xtics %.9g\n", label, low, high,
                     step);
}
