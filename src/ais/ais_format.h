#pragma once
// Plain-text dumps of decoded AIS messages and of a system's target table, for the replay
// tool and for comparing whole runs. One line per message, one line per target.
#include <string>

#include "ais_messages.h"
#include "ais_target_store.h"

namespace tiderune {

// The name of a message id ("Position report Class A", ...); "unknown" outside 1-27.
std::string aisMessageName(int id);

// The fields of the system's last message of type `id` (the slot of that id), as
// "AIS <id> <name>: field=value ..."; empty for an id outside 1-27. The time of receipt,
// which depends on the PC clock, is left out.
std::string formatAisMessage(const AISMessageSet& messages, int id);
// The same text without its line end, written at the end of `out` (nothing for an id outside
// 1-27): a replay writes millions of them into one buffer.
void appendAisMessage(std::string& out, const AISMessageSet& messages, int id);

// "AIS targets of system n: count" and then one line per stored target.
std::string formatAisTargets(const AisTargetStore& store, int system);

// A date value as "yyyy-mm-dd hh:mm:ss"; "0" for the zero date.
std::string formatAisDate(double dateValue);

}  // namespace tiderune
