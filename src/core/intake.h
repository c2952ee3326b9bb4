#pragma once
// The single entry of the analysis core: one received line of one system goes through the
// monitor feed, raw-data logging, tag-block removal, the checksum gate and type
// recognition into the system's records, and on to the per-type processing.
#include <optional>
#include <string_view>

#include "ais_services.h"
#include "core_sink.h"
#include "core_state.h"
#include "records.h"

namespace tiderune {

// `system` is 1 to 4: any other number is refused with a "Subscript out of range" error
// before anything is touched. `text` is the line as the source delivered it (serial and
// socket lines keep their CR LF, replayed lines have none).
// Raises RuntimeError: error 9 for a line with more than 10 backslashes (after the monitor
// feed and the log line; nothing else of the line is processed); errors from the per-type
// processing reach the caller, which logs them and goes on with the next line.
void ProcessSentence(CoreState& state, CoreSink& sink, AisServices& ais, int system, std::string_view text);

// The monitor's part of a line: counts it in the system's format counters, then hands it to
// sink.showRawMessage. The intake calls it only while the system's monitor is open.
void ShowRawMessage(CoreState& state, CoreSink& sink, int system, std::string_view text);

// The text after a tag block: the whole text without backslashes, the text after the second
// of exactly two, otherwise nothing. nullopt when the line holds more than 10 backslashes.
std::optional<std::string_view> removeTagBlock(std::string_view text) noexcept;

// The type of a working text by the recognition table, first match winning; nullopt for a
// type the program does not know.
std::optional<SentenceType> recogniseSentence(std::string_view text) noexcept;

}  // namespace tiderune
