#pragma once
// Messages for the user. The core never opens a box itself: it builds the program's exact
// texts and hands them to a NoticeSink; the application shows them after the line that
// raised them has been processed.
#include <string>

namespace tiderune {

enum class NoticeIcon { None, Information, Exclamation, Critical, Question };

struct Notice {
    std::string text;   // the program's 8-bit text (core/code_page.h)
    std::string title;  // empty: the application title
    NoticeIcon icon = NoticeIcon::None;
};

class NoticeSink {
public:
    virtual ~NoticeSink() = default;
    virtual void notice(const Notice& n) = 0;
};

// Drops every notice; for tools and benchmarks that have no user to tell.
class NullNoticeSink final : public NoticeSink {
public:
    void notice(const Notice&) override {}
};

}  // namespace tiderune
