#include "analysis/compute/picture_frames.h"

#include <algorithm>

void appendWrappedFrame(std::vector<double>& to, const UnwrappedTrajectory& t, std::size_t frame) {
    for (std::size_t a = 0; a < t.atomCount; ++a) {
        for (std::size_t axis = 0; axis < 3; ++axis) {
            to.push_back(wrappedIntoCell(coordinate(t, frame, a, axis), t.edge[axis]));
        }
    }
}

std::size_t strideWithin(std::size_t frames, std::size_t atoms, std::size_t mostFrames,
                         std::size_t mostPositions) {
    const std::size_t most = std::max<std::size_t>(
        1, std::min(mostFrames, mostPositions / std::max<std::size_t>(atoms, 1)));
    return std::max<std::size_t>(1, (frames + most - 1) / most);
}

std::size_t animationStride(std::size_t frames, std::size_t atoms) {
    const std::size_t stride =
        std::max<std::size_t>(1, std::min(kAnimationStride, frames / kAnimationFrames));
    return std::max(stride, strideWithin(frames, atoms, kMostAnimationFrames, kMostAnimationAtoms));
}

std::optional<PictureFrames> pictureFrames(const UnwrappedTrajectory& t) {
    const std::size_t frames = frameCount(t);
    if (frames == 0) {
        return std::nullopt;
    }
    PictureFrames p;
    p.atomCount = t.atomCount;
    p.edge = t.edge;
    appendWrappedFrame(p.last, t, frames - 1);
    p.lastTime = frameTime(t.clock, frames - 1);
    const std::size_t stride = animationStride(frames, t.atomCount);
    for (std::size_t f = 0; f < frames; f += stride, ++p.pictures) {
        appendWrappedFrame(p.shown, t, f);
    }
    p.firstTime = t.clock.start;
    p.pictureInterval = static_cast<double>(stride) * t.clock.interval;
    return p;
}
