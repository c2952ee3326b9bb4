#pragma once
// Message boxes that open through the event gate: while one is open, lines from the sources
// wait and are delivered when it closes. For the parts that take plain MessageBoxes (the
// raw-data logger, the error log).
#include "frame/event_gate.h"
#include "platform/message_box.h"

namespace tiderune {

class GatedMessageBoxes final : public MessageBoxes {
public:
    explicit GatedMessageBoxes(EventGate& gate) : gate_(gate) {}
    MessageAnswer show(const MessageRequest& request) override { return gate_.ask(request); }

private:
    EventGate& gate_;
};

}  // namespace tiderune
