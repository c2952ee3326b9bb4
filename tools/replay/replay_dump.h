#pragma once
// Replays recorded lines through the sentence intake as system 1 with every sentence type
// analysed, and writes per line what became of it: the recognised type with the decoded
// record, a checksum rejection, an unknown type, or an error; notices raised by the line
// follow it. At the end come the statistics of every record and block that received data.
// The output is plain text meant to be compared whole.
#include <iosfwd>
#include <string>

#include "core/records.h"

namespace tiderune::replay {

struct Options {
    bool checksumTest = false;  // drop lines whose checksum fails
};

// Reads lines (split at line feeds; a CR before the LF is removed, as a replayed file's
// lines carry no line end) and writes one report line per input line.
void replay(std::istream& in, std::ostream& out, const Options& options);

// "Time=12:35:19 Latitude=0.8... ..." : every field of the type's record, in record order.
std::string describeRecord(const NMEAMessageSet& set, SentenceType type);

}  // namespace tiderune::replay
