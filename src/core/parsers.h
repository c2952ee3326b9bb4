#pragma once
// The sentence parsers, the checksum routines and the conversion of NMEA positions.
// A parser never fails to its caller: a field that cannot be converted keeps the value of
// the previous sentence of that type, is reported (or skipped silently by the GSA, GST and
// GSV parsers) and the remaining fields are still converted.
#include <string>
#include <string_view>

#include "notices.h"
#include "records.h"

namespace tiderune {

// Receives the failures of the reporting parsers.
class ParserErrorHandler {
public:
    virtual ~ParserErrorHandler() = default;
    // `type` is "GGA", "RMC", ...; `sentence` the whole text the parser received.
    virtual void parserError(std::string_view type, int errorNumber, std::string_view sentence) = 0;
};

// The user's message for a parser failure: "Error  6 : Overflow  GGA-message : <sentence>"
// under the title "Error ExtractGGA".
Notice parserErrorNotice(std::string_view type, int errorNumber, std::string_view sentence);
// "Overflow", "Subscript out of range", ...
std::string_view errorDescription(int errorNumber);

void ExtractGGA(std::string_view sentence, GGARecord& record, ParserErrorHandler* errors = nullptr);
void ExtractGNS(std::string_view sentence, GNSRecord& record, ParserErrorHandler* errors = nullptr);
void ExtractGLL(std::string_view sentence, GLLRecord& record, ParserErrorHandler* errors = nullptr);
void ExtractRMC(std::string_view sentence, RMCRecord& record, ParserErrorHandler* errors = nullptr);
void ExtractVTG(std::string_view sentence, VTGRecord& record, ParserErrorHandler* errors = nullptr);
void ExtractZDA(std::string_view sentence, ZDARecord& record, ParserErrorHandler* errors = nullptr);
void ExtractGSA(std::string_view sentence, GSARecord& record, ParserErrorHandler* errors = nullptr);
void ExtractGST(std::string_view sentence, GSTRecord& record, ParserErrorHandler* errors = nullptr);
void ExtractGSV(std::string_view sentence, GSVRecord& record, ParserErrorHandler* errors = nullptr);
void ExtractHDT(std::string_view sentence, HDTRecord& record, ParserErrorHandler* errors = nullptr);
void ExtractATT(std::string_view sentence, ATTRecord& record, ParserErrorHandler* errors = nullptr);
void ExtractROT(std::string_view sentence, ROTRecord& record, ParserErrorHandler* errors = nullptr);
void ExtractVHW(std::string_view sentence, VHWRecord& record, ParserErrorHandler* errors = nullptr);
void ExtractDBT(std::string_view sentence, DBTRecord& record, ParserErrorHandler* errors = nullptr);
void ExtractTTM(std::string_view sentence, TTMRecord& record, ParserErrorHandler* errors = nullptr);

// Latitude "ddmm.mmmm" / longitude "dddmm.mmmm" with their hemisphere ("S" / "W" exactly,
// case-sensitive, make it negative) in radians; empty texts give 0. Raise error 6 when the
// minutes are too large for a double.
double LatNMEAtoRad(std::string_view latitude, std::string_view hemisphere);
double LonNMEAtoRad(std::string_view longitude, std::string_view hemisphere);

// The XOR of the characters between the first character and the first "*" (or the end) as
// two upper-case hex digits; "XX" when there is nothing between them.
std::string CalcChecksum(std::string_view sentence);
// -1 where CalcChecksum gives "XX", else the XOR value 0..255.
int checksumValue(std::string_view sentence) noexcept;
// True when the sentence's last two characters (after cutting a final CR LF) equal its
// computed checksum, case-sensitively. False for fewer than 6 characters and for a sentence
// with nothing to check.
bool ChecksumOK(std::string_view sentence) noexcept;

}  // namespace tiderune
