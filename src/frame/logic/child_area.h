#pragma once
// The size of the main window's child area before the main window shows. At start-up the
// windows open while the main window is still hidden; one that comes up maximised has its
// normal size then, and its child area grows once it shows.

namespace tiderune {

struct AreaSize {
    int width = 0;
    int height = 0;
    bool operator==(const AreaSize&) const = default;
};

// `contents`: the child area's size now; `frameNow` and `frameShown`: the main window's outer
// size now and once shown. The area grows by as much as the frame does, less the title bar
// (`titleBar` pixels high) that a frame taking the whole work area gains on top of the size
// it is given while hidden.
AreaSize childAreaOnceShown(AreaSize contents, AreaSize frameNow, AreaSize frameShown, int titleBar);

}  // namespace tiderune
