#pragma once
// One line at a time. A modal box runs a nested event loop, so a box opened while a line is
// being processed would let the next line in half-way through. The gate keeps the two apart:
// notices raised while a line is processed are shown after it, and device events that
// arrive while a line is processed or a box is open wait until both are over.
#include <deque>
#include <functional>

#include "core/notices.h"
#include "platform/message_box.h"

namespace tiderune {

class EventGate : public NoticeSink {
public:
    explicit EventGate(MessageBoxes& boxes) : boxes_(boxes) {}

    // A notice of the core: shown now, or after the line being processed.
    void notice(const Notice& n) override;

    // Runs one device event (a received line, a socket arrival) now, or queues it until
    // the line being processed and every open box are done. Notices it raises are shown
    // when it ends.
    void deliver(std::function<void()> deviceEvent);

    // Runs one line inside the gate (the replay, which reads its own file); its notices are
    // shown when it ends.
    void processLine(const std::function<void()>& line);

    // A modal box of the program; while it is open device events wait.
    MessageAnswer ask(const MessageRequest& request);

    // Held while a modal dialog of the program (not a message box) is open: device events wait.
    class ModalScope {
    public:
        explicit ModalScope(EventGate& g) : g_(g) { ++g_.boxesOpen_; }
        ~ModalScope() {
            --g_.boxesOpen_;
            g_.drain();
        }
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

    private:
        EventGate& g_;
    };

    // Runs each time the gate has let its waiting events through and is free again: no line
    // being processed, no box open, nothing waiting. What must follow an event but may open a
    // box (the error log's question) goes here.
    std::function<void()> onIdle;

    bool busy() const { return inLine_ > 0 || boxesOpen_ > 0; }
    bool inLine() const { return inLine_ > 0; }
    int pendingEvents() const { return static_cast<int>(events_.size()); }

private:
    void showPendingNotices();
    void drain();

    MessageBoxes& boxes_;
    int inLine_ = 0;
    int boxesOpen_ = 0;
    bool draining_ = false;
    std::deque<Notice> notices_;
    std::deque<std::function<void()>> events_;
};

MessageRequest toRequest(const Notice& n);

}  // namespace tiderune
