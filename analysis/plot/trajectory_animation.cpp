#include "analysis/plot/trajectory_animation.h"

#include "analysis/formatted.h"
#include "analysis/plot/cell_drawing.h"

Picture animationPicture(const PictureFrames& frames) {
    DataBlock shown = startBlock("frames");
    const std::size_t frameSize = 3 * frames.atomCount;
    for (std::size_t picture = 0; picture < frames.pictures; ++picture) {
        addAtoms(shown, frames.shown.data() + picture * frameSize, frames.atomCount);
        endDataSet(shown);  // each frame is an index
    }
    std::string script = cellBlock(frames.edge) + finished(shown) +
                         "set terminal gif animate delay 8 loop 0 size 600,600 noenhanced\n" +
                         outputCommand("trajectory.gif") + cellView(frames.edge);
    script += formatted(
        "do for [i = 0:%zu] {\n  set title sprintf('The atoms at %%.2f ps', %.9g + i * %.9g)\n"
        "  splot $cell %s, $frames index i %s\n}\n",
        frames.pictures - 1, frames.firstTime, frames.pictureInterval, kCellStyle, kAtomsStyle);
    return {"trajectory.gif", script};
}
