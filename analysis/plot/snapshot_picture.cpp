#include "analysis/plot/snapshot_picture.h"

#include "analysis/formatted.h"
#include "analysis/plot/cell_drawing.h"

Picture snapshotPicture(const PictureFrames& frames) {
    DataBlock atoms = startBlock("atoms");
    addAtoms(atoms, frames.last.data(), frames.atomCount);
    std::string script = cellBlock(frames.edge) + finished(atoms) + pngTerminal(800, 800) +
                         outputCommand("snapshot.png") + cellView(frames.edge);
    script += formatted("set title 'The %zu atoms at %g ps, the last frame, in the cell'\n",
                        frames.atomCount, frames.lastTime);
    return {"snapshot.png",
            script + "splot $cell " + kCellStyle + ", $atoms " + kAtomsStyle + "\n"};
}
