// The 60-character lines of the session text.
#include <gtest/gtest.h>

#include <string>

#include "app/logic/session_text.h"

namespace tiderune {
namespace {

TEST(SessionText, LinesAreCutAtSixtyCharacters) {
    const std::string sixty(60, 'a');
    struct Case {
        std::string text;
        std::string wrapped;
    };
    const Case cases[] = {
        {"", ""},
        {sixty, sixty},                                    // a full line stays
        {sixty + "b", sixty + "\r\nb"},                    // the 61st character moves, inside a word too
        {std::string(150, 'x'), std::string(60, 'x') + "\r\n" + std::string(60, 'x') + "\r\n" + std::string(30, 'x')},
        {sixty + "\r\n" + sixty, sixty + "\r\n" + sixty},  // a typed break restarts the count
        {std::string(30, 'a') + "\n" + sixty + "c", std::string(30, 'a') + "\n" + sixty + "\r\nc"},
        {sixty + "\r" + sixty + "d", sixty + "\r" + sixty + "\r\nd"},  // CR alone ends a line too
    };
    for (const Case& c : cases) EXPECT_EQ(wrapSessionText(c.text), c.wrapped) << c.text;
    EXPECT_EQ(wrapSessionText(sixty + "e", "\n"), sixty + "\ne");
    EXPECT_EQ(sessionTextBreaks(std::string(150, 'x')), (std::vector<std::size_t>{60, 120}));
}

}  // namespace
}  // namespace tiderune
