// The simulation's own step wraps coordinates at the faces of the cell, for the run's edge and
// others; printed as position.dat prints them, the report's reader takes every one.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "analysis/read/position_file.h"
#include "simulation/integration.h"

namespace {

std::string printed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

// Coordinates a step can bring to the faces: on them, a few units in the last place either side,
// and up to a tenth of an ångström off them at every scale.
std::vector<double> nearTheFaces(double edge, std::mt19937_64& random) {
    std::vector<double> x;
    for (double face : {0.0, edge}) {
        double below = face, above = face;
        for (int ulp = 0; ulp < 8; ++ulp) {
            x.insert(x.end(), {below, above});
            below = std::nextafter(below, -1.0);
            above = std::nextafter(above, 2.0 * edge);
        }
        for (int scale = 1; scale < 60; ++scale) {
            const double off =
                std::ldexp(0.1, -scale) * std::uniform_real_distribution<double>(-1.0, 1.0)(random);
            x.push_back(face + off);
        }
    }
    return x;
}

// The largest edge below `midpoint` whose next double prints one unit of the sixth digit higher:
// a coordinate wrapped to it plus a unit in its last place is printed beyond the printed edge.
double justBelowAPrintingMidpoint(double midpoint) {
    double edge = midpoint;
    while (printed(edge) == printed(std::nextafter(edge, 2.0 * edge))) {
        edge = std::nextafter(edge, 0.0);
    }
    return edge;
}

TEST(WrapBound, EveryCoordinateTheSimulationWrapsIsInsideTheCellAsRead) {
    std::mt19937_64 random(3);
    std::vector<double> edges = {cellEdge(RunParameters{})};
    for (double midpoint : {25.14885, 9.999995, 123.4565, 999.9995}) {
        edges.push_back(justBelowAPrintingMidpoint(midpoint));
    }
    for (int i = 0; i < 200; ++i) {
        edges.push_back(std::uniform_real_distribution<double>(1.0, 1000.0)(random));
    }
    for (const double edge : edges) {
        const std::vector<double> coordinates = nearTheFaces(edge, random);
        std::string frames;
        for (std::size_t first = 0; first < coordinates.size(); first += kAtomCount) {
            ParticleState state{};  // at rest and without forces: the step only wraps
            state.mass.fill(39.948);
            for (int i = 0; i < kAtomCount; ++i) {
                state.x[i] = state.y[i] = state.z[i] =
                    coordinates[(first + i) % coordinates.size()];
            }
            advanceParticles(state, Cell{edge, edge, edge}, RunParameters{});
            for (int i = 0; i < kAtomCount; ++i) {
                frames += printed(state.x[i]) + " " + printed(state.y[i]) + " " +
                          printed(state.z[i]) + "\r\n";
            }
        }
        const std::size_t frameCount = (coordinates.size() + kAtomCount - 1) / kAtomCount;
        const std::string cell = printed(edge) + " " + printed(edge) + " " + printed(edge);
        LineReader in("1 " + std::to_string(kAtomCount) + " " + std::to_string(frameCount) +
                          "\r\n" + cell + "\r\n0 0.04\r\n" + frames,
                      "position.dat");
        PositionFile p = readPositionHeader(in);
        EXPECT_NO_THROW(readPositionFrames(in, p, 0, [](std::size_t, auto) {})) << edge;
    }
}

}  // namespace
