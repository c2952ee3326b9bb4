#include "frame/window_registry.h"

#include <stdexcept>
#include <string>

#include "frame/child_window.h"

namespace tiderune {

namespace {
std::string kindName(WindowKind kind) { return windowKindInfo(kind).formName; }
}  // namespace

void WindowRegistry::add(WindowKind kind, WindowFactory factory) {
    if (has(kind)) throw std::logic_error("Window kind " + kindName(kind) + " registered twice");
    replace(kind, std::move(factory));
}

void WindowRegistry::addPlaceholder(WindowKind kind) {
    add(kind, [](Shell& shell, WindowKind k) { return new ChildWindow(shell, k); });
}

void WindowRegistry::replace(WindowKind kind, WindowFactory factory) {
    factories_[static_cast<std::size_t>(kind)] = std::move(factory);
}

bool WindowRegistry::has(WindowKind kind) const { return static_cast<bool>(factories_[static_cast<std::size_t>(kind)]); }

void WindowRegistry::checkComplete() const {
    for (int k = 0; k < WindowKindCount; ++k)
        if (!factories_[static_cast<std::size_t>(k)])
            throw std::logic_error("No window registered for kind " + kindName(static_cast<WindowKind>(k)));
}

ChildWindow* WindowRegistry::make(Shell& shell, WindowKind kind) const {
    const WindowFactory& f = factories_[static_cast<std::size_t>(kind)];
    if (!f) throw std::logic_error("No window registered for kind " + kindName(kind));
    return f(shell, kind);
}

}  // namespace tiderune
