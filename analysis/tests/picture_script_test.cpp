// What the pictures' gnuplot scripts say, read without gnuplot: msd.png shades the window that D
// was fitted over and no other, and every time axis ends on a tick at or after the last sample.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/plot/energy_plot.h"
#include "analysis/plot/msd_plot.h"
#include "analysis/plot/temperature_plot.h"

namespace {

constexpr double kInterval = 0.04;  // ps between samples

// `samples` samples 0.04 ps apart, as energy.dat and msd.dat hold them: the hot start, then
// 700 K; an MSD of 6 D t with D = 25 Å²/ps.
EnergyFile energyFile(std::size_t samples) {
    EnergyFile e{"energy.dat", {}, false};
    for (std::size_t i = 0; i < samples; ++i) {
        const double kinetic = i < 5 ? 9e4 : 8700.0 + 50.0 * std::sin(i);
        e.samples.push_back({40.0 * i, kinetic - 565.0, kinetic, -565.0, kinetic / 12.4});
    }
    return e;
}
MsdFile msdFile(std::size_t samples) {
    MsdFile m{"msd.dat", {}, false};
    for (std::size_t i = 0; i < samples; ++i)
        m.samples.push_back({40.0 * i, 150.0 * kInterval * i});
    return m;
}
MsdAverage averageOf(std::size_t samples) {
    MsdAverage a;
    a.lagInterval = kInterval;
    a.atomCount = 50;
    for (std::size_t k = 0; k <= samples / 2; ++k) {
        a.msd.push_back(150.0 * kInterval * k);
        a.origins.push_back(samples - k);
    }
    return a;
}

struct Axis {
    double low, high, step;
};

// Each time axis of a script: "set xrange [low:high]" and the "set xtics step" after it.
std::vector<Axis> timeAxes(const std::string& script) {
    std::vector<Axis> axes;
    for (auto at = script.find("set xrange ["); at != std::string::npos;
         at = script.find("set xrange [", at + 1)) {
        Axis a{};
        EXPECT_EQ(std::sscanf(script.c_str() + at, "set xrange [%lf:%lf]\nset xtics %lf", &a.low,
                              &a.high, &a.step),
                  3)
            << script.substr(at, 60);
        axes.push_back(a);
    }
    return axes;
}

// From a tick at or before `first` to the first tick at or after `last`.
void expectSpans(const Axis& a, double first, double last) {
    EXPECT_LE(a.low, first);
    EXPECT_GE(a.high, last - 1e-9);
    EXPECT_LT(a.high - a.step, std::max(last, a.low + a.step / 2));
    EXPECT_NEAR(a.high / a.step, std::round(a.high / a.step), 1e-9);
}

TEST(PictureScripts, TimeAxesEndOnATickAtOrAfterTheLastSample) {
    for (const std::size_t samples : {1000, 601, 2}) {
        SCOPED_TRACE(samples);
        const double last = kInterval * (samples - 1);
        for (const auto& script : {energyPicture(energyFile(samples)).script,
                                   temperaturePicture(energyFile(samples)).script}) {
            const auto axes = timeAxes(script);
            ASSERT_EQ(axes.size(), 1u);
            expectSpans(axes[0], 0.0, last);
        }
        const MsdAverage average = averageOf(samples);
        const auto axes = timeAxes(msdPicture(msdFile(samples), {}, average, {}).script);
        ASSERT_EQ(axes.size(), 2u);  // the lag, then the time of msd.dat
        expectSpans(axes[0], 0.0, lagTime(average, average.msd.size() - 1));
        expectSpans(axes[1], 0.0, last);
    }
    EXPECT_EQ(timeAxes(energyPicture(energyFile(1000)).script)[0].high, 40.0);
}

TEST(PictureScripts, MsdShadesTheWindowOfDAndNotTheSingleOriginOne) {
    const MsdAverage average = averageOf(1000);
    const DiffusionFit fit{274, 500, 150.0, -40.0, 25.0, 1.8, 2.5};
    const SingleOriginFit single{221, 442, {150.0, 2.0, 0.4}};
    const std::string script = msdPicture(msdFile(1000), single, average, fit).script;
    const auto shaded = script.find("set object 1 rect from 10.96, graph 0 to 20, graph 1");
    ASSERT_NE(shaded, std::string::npos) << script;
    EXPECT_EQ(script.find("\nset object", shaded), std::string::npos);  // only that window
    // In the panel of the lag, with D and its error in its title, before the single origin's.
    EXPECT_LT(script.find("set xlabel 'lag (ps)'"), shaded);
    EXPECT_NE(script.find("set title 'D = 25.0 ± 2.5 Å²/ps"), std::string::npos);
    const auto comparison = script.find("set title 'For comparison");
    EXPECT_LT(shaded, comparison);
    EXPECT_NE(script.find("over 8.84 to 17.68 ps: D = 25 Å²/ps", comparison), std::string::npos);
}

}  // namespace
