#include "frame/event_gate.h"

namespace tiderune {

namespace {
struct Counter {
    explicit Counter(int& c) : c_(c) { ++c_; }
    ~Counter() { --c_; }
    Counter(const Counter&) = delete;
    Counter& operator=(const Counter&) = delete;
    int& c_;
};

MessageIcon iconOf(NoticeIcon i) {
    switch (i) {
    case NoticeIcon::Information: return MessageIcon::Information;
    case NoticeIcon::Exclamation: return MessageIcon::Exclamation;
    case NoticeIcon::Critical: return MessageIcon::Critical;
    case NoticeIcon::Question: return MessageIcon::Question;
    case NoticeIcon::None: break;
    }
    return MessageIcon::None;
}
}  // namespace

MessageRequest toRequest(const Notice& n) {
    return {n.text, n.title, MessageButtons::Ok, iconOf(n.icon), MessageAnswer::Ok};
}

void EventGate::notice(const Notice& n) {
    notices_.push_back(n);
    if (inLine_ == 0) showPendingNotices();
}

MessageAnswer EventGate::ask(const MessageRequest& request) {
    MessageAnswer a;
    {
        Counter open(boxesOpen_);
        a = boxes_.show(request);
    }
    drain();
    return a;
}

void EventGate::showPendingNotices() {
    while (!notices_.empty()) {
        Notice n = std::move(notices_.front());
        notices_.pop_front();
        Counter open(boxesOpen_);
        boxes_.show(toRequest(n));
    }
}

void EventGate::processLine(const std::function<void()>& line) {
    try {
        Counter in(inLine_);
        line();
    } catch (...) {
        // The line failed: what it raised before the failure is still shown.
        if (inLine_ == 0) showPendingNotices();
        throw;
    }
    if (inLine_ == 0) {
        showPendingNotices();
        drain();
    }
}

void EventGate::deliver(std::function<void()> deviceEvent) {
    events_.push_back(std::move(deviceEvent));
    Counter device(inDevice_);
    drain();
}

void EventGate::drain() {
    // A box shown while draining runs a nested loop that may deliver more events; they are
    // queued behind and taken by this same loop, in arrival order.
    if (draining_) return;
    {
        draining_ = true;
        struct Reset {
            bool& b;
            ~Reset() { b = false; }
        } reset{draining_};
        while (!busy() && !events_.empty()) {
            std::function<void()> ev = std::move(events_.front());
            events_.pop_front();
            {
                Counter in(inLine_);
                ev();
            }
            if (notices_.empty()) continue;
            if (!inDevice()) {
                showPendingNotices();
                continue;
            }
            // Shown from the event loop; what arrives meanwhile waits behind the boxes.
            boxDue_ = true;
            post_([this] {
                boxDue_ = false;
                showPendingNotices();
                drain();
            });
        }
    }
    idle();
}

void EventGate::idle() {
    if (busy() || !events_.empty()) return;
    if (onIdle) {
        if (!inDevice()) {
            onIdle();
        } else if (!idlePosted_) {
            idlePosted_ = true;
            post_([this] {
                idlePosted_ = false;
                idle();
            });
            return;  // free once the question has been asked
        }
    }
    if (onFree && !busy() && events_.empty()) onFree();
}

}  // namespace tiderune
