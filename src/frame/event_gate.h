#pragma once
// One line at a time. A modal box runs a nested event loop, so a box opened while a line is
// being processed would let the next line in half-way through. The gate keeps the two apart:
// notices raised while a line is processed are shown after it, and device events that
// arrive while a line is processed or a box is open wait until both are over.
//
// A box is never opened from inside a device's read handler, where it would run a nested event
// loop that lets the device read on into memory: boxes due after a device event are shown from
// the event loop (through the poster), and device events wait until they have been answered.
#include <deque>
#include <functional>

#include "core/notices.h"
#include "platform/message_box.h"

namespace tiderune {

class EventGate : public NoticeSink {
public:
    explicit EventGate(MessageBoxes& boxes) : boxes_(boxes) {}

    // How to run something later from the event loop. Without one (tests of the gate alone)
    // boxes due after a device event are shown at once.
    using Poster = std::function<void(std::function<void()>)>;
    void setPoster(Poster post) { post_ = std::move(post); }

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
    // box (the error log's question) goes here. After a device event it runs from the event
    // loop.
    std::function<void()> onIdle;
    // Runs when the gate is free again, right after onIdle, also inside a device event; it must
    // not open a box. The sources resume reading here.
    std::function<void()> onFree;

    // A line is being processed, a box is open, or a box is due after a device event.
    bool busy() const { return inLine_ > 0 || boxesOpen_ > 0 || boxDue_; }
    bool inLine() const { return inLine_ > 0; }
    int pendingEvents() const { return static_cast<int>(events_.size()); }

private:
    void showPendingNotices();
    void drain();
    void idle();
    bool inDevice() const { return inDevice_ > 0 && post_ != nullptr; }

    MessageBoxes& boxes_;
    int inLine_ = 0;
    int boxesOpen_ = 0;
    int inDevice_ = 0;
    bool draining_ = false;
    bool boxDue_ = false;
    bool idlePosted_ = false;
    Poster post_;
    std::deque<Notice> notices_;
    std::deque<std::function<void()>> events_;
};

MessageRequest toRequest(const Notice& n);

}  // namespace tiderune
