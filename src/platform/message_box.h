#pragma once
// Message boxes with fixed texts. The windows ask through this interface so that a test can
// answer every box from a script and read back what the user would have seen.
#include <deque>
#include <string>
#include <vector>

namespace tiderune {

// The title every box carries unless it names another.
inline constexpr const char* ApplicationTitle = "Tiderune";

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    std::string text;   // the program's 8-bit text (core/code_page.h)
    std::string title;  // empty: the application title
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    // The button that Enter presses; must be one of the buttons shown. For Ok and OkCancel
    // boxes without a choice made, Ok; for the Yes/No kinds, Yes.
    MessageAnswer defaultAnswer = MessageAnswer::Ok;

    std::string effectiveTitle() const { return title.empty() ? std::string(ApplicationTitle) : title; }
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(const MessageRequest& request) = 0;

    // The common shapes.
    void inform(const std::string& text, MessageIcon icon = MessageIcon::None, const std::string& title = {}) {
        show({text, title, MessageButtons::Ok, icon, MessageAnswer::Ok});
    }
    bool askYesNo(const std::string& text, MessageAnswer defaultAnswer, MessageIcon icon = MessageIcon::None,
                  const std::string& title = {}) {
        return show({text, title, MessageButtons::YesNo, icon, defaultAnswer}) == MessageAnswer::Yes;
    }
};

// For tests: records every box and answers from a queue; with the queue empty it answers
// with the box's default button, as a user pressing Enter would.
class ScriptedMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer show(const MessageRequest& request) override {
        shown.push_back(request);
        if (answers.empty()) return defaultOf(request);
        MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }

    std::deque<MessageAnswer> answers;
    std::vector<MessageRequest> shown;

private:
    // The default button, or the first button when the default is not among them.
    static MessageAnswer defaultOf(const MessageRequest& r) {
        return offers(r.buttons, r.defaultAnswer) ? r.defaultAnswer
               : offers(r.buttons, MessageAnswer::Yes) ? MessageAnswer::Yes
                                                        : MessageAnswer::Ok;
    }
    static bool offers(MessageButtons b, MessageAnswer a) {
        switch (b) {
        case MessageButtons::Ok: return a == MessageAnswer::Ok;
        case MessageButtons::OkCancel: return a == MessageAnswer::Ok || a == MessageAnswer::Cancel;
        case MessageButtons::YesNo: return a == MessageAnswer::Yes || a == MessageAnswer::No;
        case MessageButtons::YesNoCancel: return a != MessageAnswer::Ok;
        }
        return false;
    }
};

}  // namespace tiderune
