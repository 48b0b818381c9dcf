#include "analysis/plot/snapshot_picture.h"

#include "analysis/formatted.h"
#include "analysis/plot/cell_drawing.h"
#include "analysis/simulated_run.h"

Picture snapshotPicture(const PictureFrames& frames) {
    const double sigma = simulatedRun().sigma;
    DataBlock atoms = startBlock("atoms");
    addSpheres(atoms, frames.last.data(), frames.atomCount, frames.edge, sigma);
    std::string script = cellBlock(frames.edge) + finished(atoms) + pngTerminal(800, 800) +
                         outputCommand("snapshot.png") + cellView(frames.edge);
    script += formatted(
        "set title 'The %zu atoms at %g ps, the last frame: spheres of diameter σ = %g Å, "
        "paler farther away'\n",
        frames.atomCount, frames.lastTime, sigma);
    return {"snapshot.png",
            script + "splot $cell " + kCellStyle + ", $atoms " + kSpheresStyle + "\n"};
}
