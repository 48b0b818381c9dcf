#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "analysis/compute/unwrap.h"

// The frames that the pictures of the atoms show, brought back into the cell where they are
// drawn: the last frame for the snapshot, and every stride-th frame for the animation. The stride
// follows from the count of frames, so they are chosen from the kept trajectory once it is known.

// Every frame of the animation is one of this many; a stopped run of few frames shows them all.
inline constexpr std::size_t kAnimationStride = 10;
inline constexpr std::size_t kAnimationFrames = 50;       // at least, when the run has as many
inline constexpr std::size_t kMostAnimationFrames = 200;  // at most: a longer run is thinned
// Atoms drawn over all the pictures at most, which bounds the script that holds them.
inline constexpr std::size_t kMostAnimationAtoms = 200'000;

// The smallest stride (at least 1) that leaves at most `mostFrames` of `frames` frames, and at
// most `mostPositions` atoms drawn over them: what bounds a picture's or a page's size.
std::size_t strideWithin(std::size_t frames, std::size_t atoms, std::size_t mostFrames,
                         std::size_t mostPositions);

// Frames between the pictures of the animation.
std::size_t animationStride(std::size_t frames, std::size_t atoms);

// Appends frame `frame` of the trajectory to `to`, x y z per atom (Å), brought back into the cell.
void appendWrappedFrame(std::vector<double>& to, const UnwrappedTrajectory& t, std::size_t frame);

struct PictureFrames {
    std::size_t atomCount = 0;
    Edges edge{};                  // Å
    std::vector<double> last;      // x y z per atom of the last frame, Å
    double lastTime = 0.0;         // ps
    std::vector<double> shown;     // x y z per atom of each frame of the animation, Å
    std::size_t pictures = 0;      // frames of the animation
    double firstTime = 0.0;        // ps, of the animation's first frame
    double pictureInterval = 0.0;  // ps between the animation's frames
};

// None when the trajectory has no frame.
std::optional<PictureFrames> pictureFrames(const UnwrappedTrajectory& trajectory);
