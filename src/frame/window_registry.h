#pragma once
// Which class makes the window of each kind. Every window library has one install call that
// adds its kinds here; the program calls them all in one place (installAllWindows). A kind
// added twice, or left without a window when the slots are made, is a fault of the program
// and stops the start-up.
#include <array>
#include <functional>

#include "frame/window_kinds.h"

namespace tiderune {

class ChildWindow;
class Shell;

// Makes the (not yet loaded) window of a kind.
using WindowFactory = std::function<ChildWindow*(Shell&, WindowKind)>;

class WindowRegistry {
public:
    // The window class of a kind; a second registration of the same kind throws.
    void add(WindowKind kind, WindowFactory factory);
    // A kind whose window is not built yet: an empty child window with its caption.
    void addPlaceholder(WindowKind kind);
    // Swaps the window of an already registered kind (tests that watch a window's calls).
    void replace(WindowKind kind, WindowFactory factory);

    bool has(WindowKind kind) const;
    // Throws std::logic_error naming the first kind without a window.
    void checkComplete() const;
    ChildWindow* make(Shell& shell, WindowKind kind) const;

private:
    std::array<WindowFactory, WindowKindCount> factories_{};
};

}  // namespace tiderune
