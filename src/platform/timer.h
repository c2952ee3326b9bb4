#pragma once
// A window-owned periodic tick on the GUI thread.
#include <functional>

namespace tiderune {

class Timer {
public:
    virtual ~Timer() = default;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

    std::function<void()> onTimeout;
};

}  // namespace tiderune
