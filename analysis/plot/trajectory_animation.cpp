#include "analysis/plot/trajectory_animation.h"

#include <algorithm>

#include "analysis/formatted.h"
#include "analysis/plot/cell_drawing.h"
#include "analysis/simulated_run.h"

namespace {

// The frames a trail passes through, back from the picture's.
struct TrailFrames {
    std::size_t points = 0;  // at most, fewer near the run's start
    std::size_t span = 0;    // frames from the trail's first point to its last
};

TrailFrames trailFrames(const PictureFrames& frames) {
    const std::size_t allowed = kMostTrailPoints / (frames.pictures * frames.atomCount);
    const std::size_t points = std::min(kTrailFrames / kTrailStep + 1, allowed);
    return points < 2 ? TrailFrames{} : TrailFrames{points, (points - 1) * kTrailStep};
}

// The data block $trails, a data set per picture and atom: the atom's unwrapped path,
// moved by the whole edges that bring the picture's frame into the cell, so that the trail ends
// at the atom as drawn.
std::string trailBlock(const PictureFrames& frames, const UnwrappedTrajectory& t,
                       std::size_t stride, const TrailFrames& trail) {
    DataBlock block = startBlock("trails");
    const std::size_t frameSize = 3 * frames.atomCount;
    for (std::size_t picture = 0; picture < frames.pictures; ++picture) {
        const std::size_t frame = picture * stride;
        const double* shown = frames.shown.data() + picture * frameSize;
        for (std::size_t a = 0; a < frames.atomCount; ++a) {
            double shift[3];
            for (std::size_t axis = 0; axis < 3; ++axis) {
                shift[axis] = shown[3 * a + axis] - coordinate(t, frame, a, axis);
            }
            for (std::size_t back = std::min(trail.points - 1, frame / kTrailStep) + 1;
                 back-- > 0;) {
                const std::size_t f = frame - back * kTrailStep;
                // To 5 digits, a thousandth of an ångström in the program's cell: far below a
                // pixel, and the bulk of the script.
                addRow(block,
                       {coordinate(t, f, a, 0) + shift[0], coordinate(t, f, a, 1) + shift[1],
                        coordinate(t, f, a, 2) + shift[2]},
                       5);
            }
            endDataSet(block);  // each trail its own data set, so that splot draws no mesh
        }
    }
    return finished(block);
}

}  // namespace

Picture animationPicture(const PictureFrames& frames, const UnwrappedTrajectory& trajectory) {
    const double sigma = simulatedRun().sigma;
    const std::size_t stride = animationStride(frameCount(trajectory), trajectory.atomCount);
    const TrailFrames trail = trailFrames(frames);
    DataBlock shown = startBlock("frames");
    const std::size_t frameSize = 3 * frames.atomCount;
    for (std::size_t picture = 0; picture < frames.pictures; ++picture) {
        addSpheres(shown, frames.shown.data() + picture * frameSize, frames.atomCount, frames.edge,
                   sigma);
        endDataSet(shown);  // each frame is an index
    }
    std::string script = cellBlock(frames.edge) + finished(shown);
    std::string trails, caption;
    if (trail.points > 0) {
        script += trailBlock(frames, trajectory, stride, trail);
        trails =
            formatted(" $trails index i * %zu : i * %zu + %zu with lines lw 2 lc rgb '#6478a8',",
                      frames.atomCount, frames.atomCount, frames.atomCount - 1);
        caption = formatted(", each with its path over the last %.3g ps",
                            static_cast<double>(trail.span) * trajectory.clock.interval);
    }
    script += "set terminal gif animate delay 8 loop 0 size 600,600 noenhanced\n" +
              outputCommand("trajectory.gif") + cellView(frames.edge);
    script += formatted(
        "do for [i = 0:%zu] {\n  set title sprintf('The atoms at %%.2f ps%s', %.9g + i * %.9g)\n"
        "  splot $cell %s,%s $frames index i %s\n}\n",
        frames.pictures - 1, caption.c_str(), frames.firstTime, frames.pictureInterval, kCellStyle,
        trails.c_str(), kSpheresStyle);
    return {"trajectory.gif", script};
}
