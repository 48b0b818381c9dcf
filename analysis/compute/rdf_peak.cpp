#include "analysis/compute/rdf_peak.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

using Vector3 = std::array<double, 3>;
using Matrix3 = std::array<Vector3, 3>;

// The inverse of a symmetric 3 × 3 matrix by its cofactors; none when it is singular.
std::optional<Matrix3> inverse(const Matrix3& m) {
    Matrix3 c;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
            c[j][i] = m[i1][j1] * m[i2][j2] - m[i1][j2] * m[i2][j1];
        }
    }
    const double det = m[0][0] * c[0][0] + m[0][1] * c[1][0] + m[0][2] * c[2][0];
    if (!(std::abs(det) > 0.0)) return std::nullopt;
    for (auto& row : c) {
        for (double& v : row) v /= det;
    }
    return c;
}

// A least-squares parabola y ≈ a + b x + c x² through points of noise `noise`, and the
// variance of the vertex's abscissa -b / (2c) and ordinate a - b² / (4c). The coefficients are
// linear in the y, θ = M y with M = (XᵀX)⁻¹ Xᵀ, so a function f of them carries the variance
// Σ_k (∇f · M_k)² noise_k².
struct Vertex {
    double x = 0.0, y = 0.0, curvature = 0.0;  // curvature c
    double xVariance = 0.0, yVariance = 0.0;
};

std::optional<Vertex> vertexOf(const std::vector<double>& x, const std::vector<double>& y,
                               const std::vector<double>& noise) {
    Matrix3 normal{};
    Vector3 moments{};
    for (std::size_t k = 0; k < x.size(); ++k) {
        const Vector3 row = {1.0, x[k], x[k] * x[k]};
        for (int i = 0; i < 3; ++i) {
            moments[i] += row[i] * y[k];
            for (int j = 0; j < 3; ++j) normal[i][j] += row[i] * row[j];
        }
    }
    const auto m = inverse(normal);
    if (!m) return std::nullopt;
    Vector3 theta{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) theta[i] += (*m)[i][j] * moments[j];
    }
    const double a = theta[0], b = theta[1], c = theta[2];
    Vertex v{-b / (2.0 * c), a - b * b / (4.0 * c), c, 0.0, 0.0};
    const Vector3 dx = {0.0, -1.0 / (2.0 * c), b / (2.0 * c * c)};
    const Vector3 dy = {1.0, -b / (2.0 * c), b * b / (4.0 * c * c)};
    for (std::size_t k = 0; k < x.size(); ++k) {
        const Vector3 row = {1.0, x[k], x[k] * x[k]};
        double alongX = 0.0;
        double alongY = 0.0;
        for (int i = 0; i < 3; ++i) {
            double mk = 0.0;  // M_ik
            for (int j = 0; j < 3; ++j) mk += (*m)[i][j] * row[j];
            alongX += dx[i] * mk;
            alongY += dy[i] * mk;
        }
        v.xVariance += alongX * alongX * noise[k] * noise[k];
        v.yVariance += alongY * alongY * noise[k] * noise[k];
    }
    return v;
}

// x = (σ/r)⁶ - (σ/r_c)⁶ about the centre bin's r_c, so that the sums keep their digits.
double sixthPower(double sigma, double r) {
    const double s = sigma / r;
    return s * s * s * s * s * s;
}

}  // namespace

std::optional<FittedPeak> fitPeak(const Rdf& rdf, const FirstShell& shell, double sigma) {
    const auto half = static_cast<std::size_t>(std::lround(kPeakHalfWindow / rdf.binWidth));
    if (shell.peak < half || shell.peak + half >= rdf.g.size()) return std::nullopt;
    FittedPeak peak;
    peak.first = shell.peak - half;
    peak.last = shell.peak + half;
    const double centre = sixthPower(sigma, binCentre(rdf, shell.peak));
    std::vector<double> x, y, noise;
    for (std::size_t k = peak.first; k <= peak.last; ++k) {
        if (!(rdf.g[k] > 0.0)) return std::nullopt;
        x.push_back(sixthPower(sigma, binCentre(rdf, k)) - centre);
        y.push_back(std::log(rdf.g[k]));
        noise.push_back(binNoise(rdf, k, rdf.g[k]) / rdf.g[k]);  // of ln g
    }
    const auto v = vertexOf(x, y, noise);
    if (!v || !(v->curvature < 0.0) || !(v->x >= x.back() && v->x <= x.front())) {
        return std::nullopt;
    }
    // r = σ (x_v)^(-1/6), dr/dx = -r / (6 x_v); g = e^(ln g), dg = g d(ln g).
    const double xv = centre + v->x;
    peak.position = sigma * std::pow(xv, -1.0 / 6.0);
    peak.positionError = peak.position / (6.0 * xv) * std::sqrt(v->xVariance);
    peak.height = std::exp(v->y);
    peak.heightError = peak.height * std::sqrt(v->yVariance);
    return peak;
}
