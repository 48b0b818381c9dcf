#pragma once

#include <cstddef>

#include "analysis/compute/cell.h"

// Every average of the report (the energies, the pressure, g(r), the MSD's time origins) is
// taken from one time on, t_eq. A run starts from atoms scattered at random and at rest: the
// first forces throw them to thousands of kelvin (about 9500 K in the default run), and the
// thermostat brings them to 700 K within a picosecond. The structure takes longer: the default
// run's potential energy stays some 140 J/mol per atom low over the first 2 ps. t_eq leaves a
// margin beyond that.
inline constexpr double kEquilibrationTime = 4.0;  // ps, t_eq

// The first of `frames` frames taken by `clock` at or after t_eq; `frames` when none is.
inline std::size_t firstSettledFrame(const FrameClock& clock, std::size_t frames) {
    std::size_t first = 0;
    while (first < frames && frameTime(clock, first) < kEquilibrationTime) {
        ++first;
    }
    return first;
}
