#pragma once
// Latitude and longitude texts: every position the program shows, prints or writes, and
// every one the user types, passes through here. Values are signed degrees, north and east
// positive. Texts are 8-bit bytes: the screen forms use the degree sign (0xB0), the file
// forms the character of code 248 in its place.
//
// Kind is "LAT" or "LON" (any case); ParseLatLonDM also knows "BRG" (a bearing, 0-360).
// Target "FILE" (any case) selects the file form; anything else, such as "FORM", the
// screen form.
#include <string>
#include <string_view>

#include "notices.h"

namespace tiderune {

namespace latlon {
inline constexpr char DegreeSign = '\xB0';
inline constexpr char FileDegreeMark = '\xF8';  // code 248
inline constexpr const char* IllegalInputTitle = "Illegal input";
}  // namespace latlon

// Degrees and decimal minutes, e.g. 52° 30.50' N; decimals 0-5 of the minutes.
std::string FormatLatLonDM(double value, std::string_view kind, std::string_view target,
                           int decimals);
// Degrees, minutes and seconds, e.g. 010° 30' 00.0" E; decimals 0-4 of the seconds.
std::string FormatLatLonDMS(double value, std::string_view kind, std::string_view target,
                            int decimals);
// Compact degrees, minutes and seconds without blanks, e.g. 52°30'15.0000"N.
std::string FormatDMSCompact(double value, std::string_view kind, std::string_view target,
                             int decimals);

// Read a typed degrees-minutes-seconds text. Corrections are reported through `notices`;
// the text is rewritten in canonical form. On a text it cannot read it reports
// "<NAME> FORMAT ERROR. ", leaves the text as it was and returns 0.
double ParseLatLonDMS(std::string& text, std::string_view kind, NoticeSink& notices);
// Read a typed degrees-and-decimal-minutes text; the text is rewritten by FormatLatLonDM
// with `decimals`.
double ParseLatLonDM(std::string& text, std::string_view kind, int decimals,
                     NoticeSink& notices);

}  // namespace tiderune
