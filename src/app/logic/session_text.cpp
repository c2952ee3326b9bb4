#include "session_text.h"

namespace tiderune {

std::vector<std::size_t> sessionTextBreaks(std::string_view text) {
    std::vector<std::size_t> breaks;
    std::size_t column = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            column = 0;
        } else if (++column > SessionTextLineLength) {
            breaks.push_back(i);
            column = 1;
        }
    }
    return breaks;
}

std::string wrapSessionText(std::string_view text, std::string_view lineBreak) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t at : sessionTextBreaks(text)) {
        out.append(text.substr(from, at - from)).append(lineBreak);
        from = at;
    }
    return out.append(text.substr(from));
}

}  // namespace tiderune
