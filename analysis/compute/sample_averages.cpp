#include "analysis/compute/sample_averages.h"

#include <cmath>
#include <vector>

#include "analysis/compute/cell.h"
#include "analysis/compute/equilibration.h"
#include "analysis/formatted.h"

namespace {

// The block average of `series`; a mean or error that is not a finite number is refused.
std::optional<BlockAverage> averaged(const std::vector<double>& series, const std::string& file,
                                     const char* what) {
    auto average = blockAverage(series);
    if (average && !(std::isfinite(average->mean) && std::isfinite(average->standardError))) {
        throw InputError(formatted("%s: the mean %s from %g ps on lies beyond the range of numbers",
                                   file.c_str(), what, kEquilibrationTime));
    }
    return average;
}

}  // namespace

SampleAverages averageSamples(const EnergyFile& energy, std::span<const double> pressure,
                              const std::string& positionName) {
    SampleAverages a;
    std::size_t first = 0;
    while (first < energy.samples.size() &&
           picoseconds(energy.samples[first].time) < kEquilibrationTime) {
        ++first;
    }
    std::vector<double> series[4];
    for (std::size_t i = first; i < energy.samples.size(); ++i) {
        const EnergySample& s = energy.samples[i];
        series[0].push_back(s.temperature);
        series[1].push_back(s.kinetic);
        series[2].push_back(s.potential);
        series[3].push_back(s.total);
    }
    a.samples = series[0].size();
    a.fromTime = a.samples == 0 ? 0.0 : picoseconds(energy.samples[first].time);
    a.temperature = averaged(series[0], energy.name, "temperature");
    a.kinetic = averaged(series[1], energy.name, "kinetic energy");
    a.potential = averaged(series[2], energy.name, "potential energy");
    a.total = averaged(series[3], energy.name, "total energy");
    a.pressureSamples = pressure.size();
    a.pressure =
        averaged(std::vector<double>(pressure.begin(), pressure.end()), positionName, "pressure");
    return a;
}
