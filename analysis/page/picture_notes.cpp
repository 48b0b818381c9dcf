#include "analysis/page/picture_notes.h"

// The numbers of a healthy run are those of this program's fixed run (50 atoms, 700 K,
// 25.1488 Å cell), as the README's "What a healthy run looks like" gives them.
const std::array<PictureNote, 6> kPictureNotes = {{
    {"energy.png", "Energy",
     "Kinetic, potential and total energy per atom against time, a panel each on its own scale",
     "Kinetic, potential and total energy per atom (J/mol) against time (ps), a panel each on "
     "its own scale, so that each can be read; the hot start leaves through the top. The "
     "velocities are rescaled to 700 K every 10 steps, which puts energy in or takes it out, so "
     "the total energy is not conserved: that is the thermostat, as the note on the picture "
     "says, not a fault of the integrator.",
     "A healthy run starts hot (from the random placement), then the kinetic energy settles "
     "near 8700 J/mol (3/2 R × 700 K), the potential energy a little below zero and the total "
     "near 8200 J/mol, each scattering about its level with no drift."},
    {"temperature.png", "Temperature",
     "Temperature against time, with its running mean and the 700 K target drawn on top",
     "The temperature (K) measured before each rescaling, against time (ps), with its running "
     "mean over 2 ps (red) and the 700 K target drawn on top of both (dashed).",
     "A healthy run starts far above the target (about 9500 K, from the random placement), is "
     "pinned near 700 K within a few samples and then scatters by a few per cent about it, the "
     "running mean on the target line, with no drift."},
    {"msd.png", "Mean squared displacement",
     "Mean squared displacement averaged over every time origin against the lag, with the "
     "fitted line over the shaded window; below it the single-origin curve for comparison",
     "The upper panel holds the result: the MSD (Å²) averaged over every time origin, against "
     "the lag (ps). D is a sixth of the slope of the line fitted over its shaded window, and "
     "D ± its standard error is the panel's title. The lower panel, for comparison only, is the "
     "MSD of msd.dat against the time since the placement, its one time origin, with its own "
     "fitted line over an unshaded window.",
     "A healthy run: the MSD first curves upwards (free flight between collisions), then grows "
     "as a straight line; the averaged curve lies on its fitted line across the shaded window "
     "and the single-origin curve wanders about a line of similar slope. An MSD that bends away "
     "from a line at late times means the run is not diffusive."},
    {"rdf.png", "Radial distribution function",
     "Radial distribution function g(r) of all pairs against the distance r",
     "g(r) is the density of neighbours at distance r relative to an ideal gas of the same "
     "density, averaged over the frames named in the title: 1 means no correlation, 0 that no "
     "pair comes that close. A first minimum, and the neighbours within it, is marked only "
     "where it lies below 1 by more than the bins' noise.",
     "This hot, dilute gas has g = 0 inside about 3 Å, where the atoms repel, a low first peak "
     "(about 1.2) near 3.8 Å, then noise about 1: it has no distinct first shell. A peak far "
     "above 1.5, or g away from 1 at large r, means the atoms have condensed."},
    {"snapshot.png", "The atoms at the end",
     "The atoms of the last frame in the cell, drawn as spheres shaded by depth",
     "The atoms of the last frame in the cell, each a sphere of diameter σ = 3.4 Å, paler the "
     "farther it lies from the viewer, within the cell's edges.",
     "A healthy run has the atoms spread through the whole cell, with no clusters."},
    {"trajectory.gif", "The atoms moving",
     "Animation of the atoms moving in the cell, each with a trail of its recent path",
     "The atoms moving in the cell, every 10th frame (0.4 ps apart in a complete run), each atom a "
     "sphere of diameter σ with a trail of its path over the last 1.6 ps. The trail is "
     "unwrapped, so that it never jumps across the cell: an atom that came in through a face "
     "trails back to that face. The time is in each picture's title.",
     "A healthy run: the atoms fly straight between brief collisions and wander through the "
     "whole cell; none stay together."},
}};
