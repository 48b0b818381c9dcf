#include "analysis/plot/cell_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "analysis/formatted.h"
#include "analysis/plot/axis_range.h"

namespace {

using Vector = std::array<double, 3>;

double dot(const Vector& a, const Vector& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// gnuplot turns the scene by kViewTurn about z, then tilts it by kViewTilt about the screen's
// horizontal axis: in the cell's axes, the directions to the right and up on the screen, and
// towards the viewer (their cross product).
struct ViewAxes {
    Vector right, up, towards;
};
ViewAxes viewAxes() {
    constexpr double kRadians = std::numbers::pi / 180.0;
    const double ct = std::cos(kViewTilt * kRadians), st = std::sin(kViewTilt * kRadians);
    const double cz = std::cos(kViewTurn * kRadians), sz = std::sin(kViewTurn * kRadians);
    return {{cz, sz, 0.0}, {-sz * ct, cz * ct, st}, {sz * st, -cz * st, ct}};
}

// A colour as gnuplot's `rgb variable` reads it, from components 0 to 255.
double packed(const Vector& c) {
    return std::round(c[0]) * 65536.0 + std::round(c[1]) * 256.0 + std::round(c[2]);
}

Vector mixed(const Vector& a, const Vector& b, double share) {  // share of b
    return {a[0] + (b[0] - a[0]) * share, a[1] + (b[1] - a[1]) * share,
            a[2] + (b[2] - a[2]) * share};
}

// The nearest atoms in deep blue, the farthest faded towards the white background.
constexpr Vector kNear = {30.0, 80.0, 200.0};
constexpr Vector kFar = {190.0, 205.0, 232.0};
constexpr Vector kBlack = {0.0, 0.0, 0.0};
constexpr Vector kWhite = {255.0, 255.0, 255.0};

// gnuplot leaves out a circle whose centre lies outside the axes' ranges: a highlight shifted
// beyond a face of the cell is moved along the line of sight, which leaves it where it is drawn
// (the view has no perspective), by the least that brings it inside, if any does.
Vector insideAlongSight(Vector at, const Vector& towards, const Edges& edge) {
    double low = -HUGE_VAL, high = HUGE_VAL;  // the moves that keep each coordinate inside
    for (int axis = 0; axis < 3; ++axis) {
        if (towards[axis] == 0.0) {
            continue;
        }
        const double a = -at[axis] / towards[axis];
        const double b = (edge[axis] - at[axis]) / towards[axis];
        low = std::max(low, std::min(a, b));
        high = std::min(high, std::max(a, b));
    }
    const double move = low > high ? 0.0 : std::clamp(0.0, low, high);
    for (int axis = 0; axis < 3; ++axis) {
        at[axis] += move * towards[axis];
    }
    return at;
}

}  // namespace

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
    std::string view = formatted(
        "set xrange [0:%.9g]\nset yrange [0:%.9g]\nset zrange [0:%.9g]\n"
        "set view equal xyz\nset view %g, %g\nset xyplane at 0\nunset key\n"
        "set xlabel 'x (Å)'\nset ylabel 'y (Å)'\nset zlabel 'z (Å)' rotate\n"
        "set style fill solid 1.0 noborder\n",  // circles in 3D take no fill of their own
        edge[0], edge[1], edge[2], kViewTilt, kViewTurn);
    const double step = tickStep(*std::max_element(edge.begin(), edge.end()), 6);
    return view + formatted("set xtics 0, %.9g\nset ytics %.9g, %.9g\nset ztics %.9g, %.9g\n", step,
                            step, step, step, step);
}

void addSpheres(DataBlock& block, const double* xyz, std::size_t atoms, const Edges& edge,
                double diameter) {
    const ViewAxes view = viewAxes();
    const auto depth = [&](std::size_t a) {
        return dot({xyz[3 * a], xyz[3 * a + 1], xyz[3 * a + 2]}, view.towards);
    };
    // The cell's corners bound the depth of what is in it.
    double nearest = 0.0, farthest = 0.0;
    for (int c = 0; c < 8; ++c) {
        const double d =
            dot({(c & 1) ? edge[0] : 0.0, (c & 2) ? edge[1] : 0.0, (c & 4) ? edge[2] : 0.0},
                view.towards);
        nearest = std::max(nearest, d);
        farthest = std::min(farthest, d);
    }
    std::vector<std::size_t> order(atoms);
    for (std::size_t a = 0; a < atoms; ++a) {
        order[a] = a;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return depth(a) < depth(b); });
    const double radius = diameter / 2.0;
    for (const std::size_t a : order) {
        const double nearness = std::clamp((depth(a) - farthest) / (nearest - farthest), 0.0, 1.0);
        const Vector body = mixed(kFar, kNear, nearness);
        // Lit from the upper left: the highlight sits that way from the centre.
        const auto shifted = [&](double share, double size, const Vector& colour) {
            Vector at{};
            for (int axis = 0; axis < 3; ++axis) {
                at[axis] = xyz[3 * a + axis] +
                           share * radius * (view.up[axis] - view.right[axis]) / std::sqrt(2.0);
            }
            at = insideAlongSight(at, view.towards, edge);
            addRow(block, {at[0], at[1], at[2], size * radius, packed(colour)}, 8);
        };
        shifted(0.0, 1.0, mixed(body, kBlack, 0.4));
        shifted(0.0, 0.9, body);
        shifted(0.2, 0.6, mixed(body, kWhite, 0.3));
        shifted(0.4, 0.3, mixed(body, kWhite, 0.65));
    }
}
