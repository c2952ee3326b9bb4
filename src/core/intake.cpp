#include "intake.h"

#include <cstring>
#include <limits>
#include <string>

#include "counting.h"
#include "errors.h"
#include "number_text.h"
#include "parsers.h"
#include "processing.h"
#include "sentence_types.h"

namespace tiderune {

namespace {

inline void increment(std::int32_t& counter) { countUp(counter); }

// Parser failures become notices; repeats of one kind are counted, not shown again.
class IntakeParserErrors final : public ParserErrorHandler {
public:
    IntakeParserErrors(CoreState& state, CoreSink& sink) : state_(state), sink_(sink) {}
    void parserError(std::string_view type, int errorNumber, std::string_view sentence) override {
        std::string title = "Error Extract";
        title += type;
        if (state_.parserNotices.admit(title, errorNumber))
            sink_.notice(parserErrorNotice(type, errorNumber, sentence));
    }

private:
    CoreState& state_;
    CoreSink& sink_;
};

inline bool at(std::string_view s, int pos1, std::string_view three) {
    // pos1 is the 1-based position of the first of three characters.
    const auto p = static_cast<std::size_t>(pos1);
    return p >= 1 && s.size() >= p + 2 && std::memcmp(s.data() + p - 1, three.data(), 3) == 0;
}

}  // namespace

std::optional<std::string_view> removeTagBlock(std::string_view text) noexcept {
    const char* p = text.data();
    const char* end = p + text.size();
    const char* positions[2] = {nullptr, nullptr};
    int count = 0;
    while ((p = static_cast<const char*>(std::memchr(p, '\\', static_cast<std::size_t>(end - p))))) {
        if (++count > 10) return std::nullopt;
        if (count <= 2) positions[count - 1] = p;
        ++p;
    }
    if (count == 0) return text;
    if (count == 2) return std::string_view(positions[1] + 1, static_cast<std::size_t>(end - positions[1] - 1));
    return std::string_view();
}

std::optional<SentenceType> recogniseSentence(std::string_view w) noexcept {
    for (const SentenceTypeInfo& info : SentenceTypes)
        for (const SentenceTypeInfo::Mark& m : info.marks)
            if (m.position > 0 && at(w, m.position, m.text)) return info.type;
    return std::nullopt;
}

void ShowRawMessage(CoreState& state, CoreSink& sink, int system, std::string_view text) {
    MonitorCounters& m = state.Monitor[system];
    increment(m.MonitorSentenceCount);
    if (!text.empty() && (text.front() == '$' || text.front() == '!')) {
        std::string_view s = text;
        if (s.size() >= 2 && s.back() == '\n' && s[s.size() - 2] == '\r') s.remove_suffix(2);
        increment(text.front() == '$' ? m.MonitorNMEACount : m.MonitorAISCount);
        const auto star = s.find('*');
        bool ok = false;
        if (star != std::string_view::npos && star + 1 < s.size()) {
            // A line with nothing between its first character and the "*" has no checksum
            // to agree with, whatever follows the "*".
            const int v = checksumValue(s);
            const std::string_view given = s.substr(star + 1);
            ok = v >= 0 && given.size() == 2 && given[0] == "0123456789ABCDEF"[v >> 4] &&
                 given[1] == "0123456789ABCDEF"[v & 15];
        }
        increment(ok ? m.MonitorChecksumOK : m.MonitorChecksumError);
    }
    sink.showRawMessage(system, text);
}

void ProcessSentence(CoreState& state, CoreSink& sink, AisServices& ais, int system, std::string_view text) {
    if (!isValidSystem(system))
        throw RuntimeError(err::SubscriptOutOfRange,
                           "Subscript out of range (system " + std::to_string(system) + " is not 1 to 4)");

    if (state.config.WindowVisible[system][VisibleForms::NMEAMonitor]) {
        state.NMEACurrentSystem = static_cast<std::int16_t>(system);
        ShowRawMessage(state, sink, system, text);
    }
    if (state.run.LoggingOn) sink.writeLogLine(system, text);

    const std::optional<std::string_view> working = removeTagBlock(text);
    if (!working) throwSubscriptOutOfRange();

    if (state.config.ChecksumTest[system] && !ChecksumOK(*working)) {
        std::int32_t& rejected = state.ChecksumRejected[system];
        increment(rejected);
        sink.showChecksumRejected(system, system + 3, StrNumber(rejected));
        return;
    }

    const std::optional<SentenceType> type = recogniseSentence(*working);
    if (!type) return;

    NMEAMessageSet& set = state.NMEAMessages[system];
    const SentenceTypeInfo& info = sentenceTypeInfo(*type);
    std::string& raw = set.*info.text;
    raw.assign(working->data(), working->size());
    if (info.parse) {
        IntakeParserErrors errors(state, sink);
        info.parse(raw, set, &errors);
    } else {
        // VDM and VDO: the AIS assembly fills the record.
        ais.processVDM(system, raw, set.VDM);
        ais.storeAISTarget(system);
    }
    ProcessMessageType(state, sink, system, *type);
}

}  // namespace tiderune
