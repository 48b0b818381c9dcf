#include "straightforward.h"

#include <cmath>
#include <fstream>
#include <ios>
#include <ostream>

#include "simulation/arithmetic.h"
#include "simulation/random_source.h"

namespace {

double roundAway(double x) {
    return x >= 0 ? std::floor(stored(Wide(x) + 0.5)) : -std::floor(stored(-Wide(x) + 0.5));
}

std::ostream& line(std::ostream& out) {
    return out << "\r\n" << std::flush;
}

}  // namespace

void runStraightforward(const std::string& directory) {
    const bool write = !directory.empty();
    const int n = 50;
    const double dt = 4.0, t0 = 700.0, p = 30390000.0, kb = 1.38065e-23, na = 6.02e23, rgas = 8.314,
                 rcut = 9.0;
    const double sigma[1] = {3.4};
    const double epsilon[1] = {stored(Wide(121.0) * kb)};
    int species[50];
    double mass[50], x[50], y[50], z[50], vx[50], vy[50], vz[50], fx[50], fy[50], fz[50], ux[50],
        uy[50], uz[50];

    std::ofstream console, position, energy, msd;
    if (write) {
        console.open(directory + "/console.out", std::ios::binary);
        position.open(directory + "/position.dat", std::ios::binary);
        energy.open(directory + "/energy.dat", std::ios::binary);
        msd.open(directory + "/msd.dat", std::ios::binary);
    }
    const double volume = stored(Wide(n) / na * rgas * t0 / p);
    const double lx = stored(Wide(std::pow(volume, 1.0 / 3.0)) * 1e10), ly = lx, lz = lx;

    RandomSource random;
    random.seed(1);
    for (int i = 0; i < n;) {
        x[i] = stored(Wide(random.next()) * kInverseRandomMax * lx);
        y[i] = stored(Wide(random.next()) * kInverseRandomMax * ly);
        z[i] = stored(Wide(random.next()) * kInverseRandomMax * lz);
        mass[i] = 39.948;
        species[i] = 0;
        ux[i] = uy[i] = uz[i] = 0.0;
        bool overlap = false;
        for (int j = 0; j < i && !overlap; ++j) {
            const double d2 = stored((Wide(x[j]) - x[i]) * (Wide(x[j]) - x[i]) +
                                     (Wide(y[j]) - y[i]) * (Wide(y[j]) - y[i]) +
                                     (Wide(z[j]) - z[i]) * (Wide(z[j]) - z[i]));
            overlap = 4.0 > d2;
        }
        if (!overlap) {
            ++i;
        }
    }
    for (int i = 0; i < n; ++i) {
        vx[i] = vy[i] = vz[i] = 0.0;
    }

    for (int step = 0; step < 10000; ++step) {
        for (int i = 0; i < n; ++i) {
            fx[i] = fy[i] = fz[i] = 0.0;
        }
        double pe = 0.0;
        for (int j = 0; j < n; ++j) {
            for (int k = 0; k < j; ++k) {
                double dx = stored(Wide(x[k]) - x[j]);
                double dy = stored(Wide(y[k]) - y[j]);
                double dz = stored(Wide(z[k]) - z[j]);
                dx = stored(dx - Wide(roundAway(stored(Wide(dx) / lx))) * lx);
                dy = stored(dy - Wide(roundAway(stored(Wide(dy) / ly))) * ly);
                dz = stored(dz - Wide(roundAway(stored(Wide(dz) / lz))) * lz);
                const double r = std::sqrt(stored(Wide(dx) * dx + Wide(dy) * dy + Wide(dz) * dz));
                const double sig = stored((Wide(sigma[species[j]]) + sigma[species[k]]) * 0.5);
                const double eps =
                    std::sqrt(stored(Wide(epsilon[species[j]]) * epsilon[species[k]]));
                const double s = stored(Wide(sig) / r);
                if (r < rcut) {
                    const double rep = stored(Wide(-12.0) * std::pow(s, 13.0));
                    const double h = stored((Wide(6.0) * std::pow(s, 7.0) + rep) *
                                            (Wide(4.0) * eps * (Wide(1.0) / sig)));
                    fx[j] = stored(fx[j] + Wide(h) * dx / r);
                    fy[j] = stored(fy[j] + Wide(h) * dy / r);
                    fz[j] = stored(fz[j] + Wide(h) * dz / r);
                    fx[k] = stored(fx[k] - Wide(h) * dx / r);
                    fy[k] = stored(fy[k] - Wide(h) * dy / r);
                    fz[k] = stored(fz[k] - Wide(h) * dz / r);
                }
                const double s12 = std::pow(s, 12.0);
                pe = stored(pe + (Wide(s12) - std::pow(s, 6.0)) * (Wide(4.0) * eps));
            }
        }
        for (int i = 0; i < n; ++i) {
            vx[i] = stored(vx[i] +
                           Wide(dt) * 1e-15 * (Wide(fx[i]) * 1e10) / (Wide(mass[i]) / na * 0.001));
            vy[i] = stored(vy[i] +
                           Wide(dt) * 1e-15 * (Wide(fy[i]) * 1e10) / (Wide(mass[i]) / na * 0.001));
            vz[i] = stored(vz[i] +
                           Wide(dt) * 1e-15 * (Wide(fz[i]) * 1e10) / (Wide(mass[i]) / na * 0.001));
            x[i] = stored(x[i] + Wide(dt) * 1e-15 * vx[i] * 1e10);
            y[i] = stored(y[i] + Wide(dt) * 1e-15 * vy[i] * 1e10);
            z[i] = stored(z[i] + Wide(dt) * 1e-15 * vz[i] * 1e10);
            ux[i] = stored(ux[i] + Wide(dt) * 1e-15 * vx[i] * 1e10);
            uy[i] = stored(uy[i] + Wide(dt) * 1e-15 * vy[i] * 1e10);
            uz[i] = stored(uz[i] + Wide(dt) * 1e-15 * vz[i] * 1e10);
            x[i] = stored(x[i] - Wide(roundAway(stored(Wide(x[i]) / lx - 0.5))) * lx);
            y[i] = stored(y[i] - Wide(roundAway(stored(Wide(y[i]) / ly - 0.5))) * ly);
            z[i] = stored(z[i] - Wide(roundAway(stored(Wide(z[i]) / lz - 0.5))) * lz);
        }
        double k2 = 0.0;
        for (int i = 0; i < n; ++i) {
            k2 = stored(k2 + (Wide(vx[i]) * vx[i] + Wide(vy[i]) * vy[i] + Wide(vz[i]) * vz[i]) *
                                 (Wide(mass[i]) / na * 0.001));
        }
        const double t = stored(Wide(0.5) * k2 / (Wide(1.5) * kb * 50));
        const double ke = stored(Wide(0.5) * na * kInverseAtomCount * k2);
        if (step % 10 == 0) {
            const double lambda = std::sqrt(stored(Wide(t0) / t));
            for (int i = 0; i < n; ++i) {
                vx[i] = stored(Wide(vx[i]) * lambda);
                vy[i] = stored(Wide(vy[i]) * lambda);
                vz[i] = stored(Wide(vz[i]) * lambda);
            }
            double px = 0.0, py = 0.0, pz = 0.0, m = 0.0;
            for (int i = 0; i < n; ++i) {
                px = stored(px + Wide(vx[i]) * mass[i]);
                py = stored(py + Wide(vy[i]) * mass[i]);
                pz = stored(pz + Wide(vz[i]) * mass[i]);
                m = stored(Wide(m) + mass[i]);
            }
            for (int i = 0; i < n; ++i) {
                vx[i] = stored(vx[i] - Wide(px) / (Wide(50) * m));
                vy[i] = stored(vy[i] - Wide(py) / (Wide(50) * m));
                vz[i] = stored(vz[i] - Wide(pz) / (Wide(50) * m));
            }
        }
        pe = stored(Wide(pe) * na * kInverseAtomCount);
        if (!write) {
            continue;
        }
        if (step == 0) {
            position << "1 " << n << " " << 1000 << line << lx << " " << ly << " " << lz << line
                     << "0 " << stored(Wide(dt) * 10 * 0.001) << line;
        }
        if (step % 10 == 0) {
            const double time = stored(Wide(step) * dt);
            console << step << std::flush << "step, KE:" << std::flush << ke << std::flush
                    << ", PE: " << std::flush << pe << std::flush << ", Tem:" << std::flush << t
                    << std::flush << " K+P = " << std::flush << stored(Wide(ke) + pe) << line;
            energy << time << ", " << stored(Wide(ke) + pe) << ", " << ke << ", " << pe << ", " << t
                   << line;
            for (int i = 0; i < n; ++i) {
                position << x[i] << " " << y[i] << " " << z[i] << line;
            }
            double sum = 0.0;
            for (int i = 0; i < n; ++i) {
                sum =
                    stored(sum + (Wide(ux[i]) * ux[i] + Wide(uy[i]) * uy[i] + Wide(uz[i]) * uz[i]));
            }
            msd << time << ",  " << stored(Wide(sum) / n) << ", " << line;
        }
    }
}
