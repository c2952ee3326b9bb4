#include "latlon_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "errors.h"
#include "number_text.h"

namespace tiderune {

namespace {

// Latin-1 upper case: a-z and the accented small letters (but not the division sign).
char upperLatin1(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') return static_cast<char>(u - 32);
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 32);
    return c;
}

std::string upperText(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = upperLatin1(c);
    return out;
}

bool isFileTarget(std::string_view target) { return upperText(target) == "FILE"; }

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

std::string_view trimBlanks(std::string_view s) {
    s = trimLeft(s);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// The decimals a minutes or seconds field is actually shown with.
int shownMinuteDecimals(int d) { return d >= 0 && d <= 5 ? d : 6; }
int shownSecondDecimals(int d) { return d >= 0 && d <= 4 ? d : 4; }

// A last unit at or above this value would be shown rounded to 60, so it is carried into
// the next unit instead: 59.5 for 0 decimals, 59.95 for 1, 59.995 for 2, ...
double carryThreshold(int decimals) {
    double limit = 59.0;
    double step = 1.0;
    for (int i = 1; i <= decimals; ++i) {
        step /= 10.0;
        limit += 9.0 * step;
    }
    return limit + 5.0 * step / 10.0;
}

// A number in a display format such as "00", "000" or "00.00", rounded as every other
// number the program shows. A value that is not a number cannot come from a typed or
// stored position; it is shown as the C library writes it rather than failing a display.
std::string formatted(double x, std::string_view format) {
    if (!std::isfinite(x)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%f", x);
        return buf;
    }
    return FormatNumber(x, format);
}

// Minutes or seconds: "00", "00.0", "00.00", ... for 0, 1, 2, ... decimals.
std::string twoDigitFixed(double x, int decimals) {
    std::string format = "00";
    if (decimals > 0) format += "." + std::string(static_cast<std::size_t>(decimals), '0');
    return formatted(x, format);
}

// Whole degrees as "00" (latitudes) or "000" (everything else); a minus sign goes in front
// of the padded digits, as in -010.
std::string degreeDigits(double wholeDegrees, bool latitude) {
    return formatted(wholeDegrees, latitude ? "00" : "000");
}

char degreeMark(std::string_view target) {
    return isFileTarget(target) ? latlon::FileDegreeMark : latlon::DegreeSign;
}

std::string hemisphereSuffix(std::string_view kind, double value) {
    if (kind == "LAT") return value < 0 ? " S" : " N";
    if (kind == "LON") return value < 0 ? " W" : " E";
    return {};
}

struct DmsParts {
    double deg;
    double min;
    double sec;
};

// Whole degrees, whole minutes and seconds of |value|, with the carry at 60 seconds and
// at 60 minutes for seconds shown with `shownDecimals`.
DmsParts splitDms(double value, int shownDecimals, bool singleSeconds) {
    const double a = std::fabs(value);
    DmsParts p;
    p.deg = std::floor(a);
    const double minutes = (a - p.deg) * 60.0;
    p.min = std::floor(minutes);
    p.sec = (minutes - p.min) * 60.0;
    if (singleSeconds) p.sec = static_cast<float>(p.sec);
    if (p.sec >= carryThreshold(shownDecimals)) {
        p.sec = 0;
        p.min += 1;
        if (p.min == 60) {
            p.min = 0;
            p.deg += 1;
        }
    }
    return p;
}

// ---- readers ----------------------------------------------------------------------------

[[noreturn]] void overflow() { throw RuntimeError(err::Overflow, "Overflow"); }

constexpr long IntegerMax = 32767;

// One whole number of digits, as a 16-bit Integer; an empty text is 0.
long wholeNumber(std::string_view digits) {
    long v = 0;
    for (char c : digits) {
        v = v * 10 + (c - '0');
        if (v > IntegerMax) overflow();
    }
    return v;
}

void checkInteger(long v) {
    if (v > IntegerMax || v < -IntegerMax - 1) overflow();
}

// Digits with a decimal point, a comma counting as the point; reading stops at a second
// point. An empty text is 0.
double decimalNumber(std::string_view text) {
    std::string s;
    bool point = false;
    for (char c : text) {
        if (c == ',') c = '.';
        if (c == '.') {
            if (point) break;
            point = true;
        }
        s += c;
    }
    if (s.empty() || s == ".") return 0.0;
    const double v = std::strtod(s.c_str(), nullptr);
    if (!std::isfinite(v)) overflow();
    return v;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isDecimalChar(char c) { return isDigit(c) || c == '.' || c == ','; }

// Walks a typed text one number at a time. Each step reads a number up to the first
// character that cannot belong to it; what follows decides whether reading is complete,
// whether a single last character is the hemisphere, or what the next step reads.
// Degrees end with the mark of the file form (code 248). Any other single last character,
// the screen's degree sign included, is the hemisphere text and is checked as such.
class TypedTextWalker {
public:
    explicit TypedTextWalker(std::string_view text) : rest_(text) {}

    std::string_view step(bool (*belongs)(char), char endMark) {
        if (done_) return {};
        std::size_t i = 0;
        while (i < rest_.size() && belongs(rest_[i])) ++i;
        const std::string_view number = rest_.substr(0, i);
        if (i == rest_.size()) {
            done_ = true;
        } else if (i + 1 == rest_.size()) {
            done_ = true;
            if (rest_[i] != endMark) {
                hemisphere_ = rest_.substr(i, 1);
                hasHemisphere_ = true;
            }
        } else {
            rest_ = trimLeft(rest_.substr(i + 1));
        }
        return number;
    }

    // After the last number step: what is left is the hemisphere text.
    void finish() {
        if (done_) return;
        done_ = true;
        hemisphere_ = rest_;
        hasHemisphere_ = true;
    }

    bool hasHemisphere() const { return hasHemisphere_; }
    std::string_view hemisphere() const { return hemisphere_; }

private:
    std::string_view rest_;
    std::string_view hemisphere_;
    bool done_ = false;
    bool hasHemisphere_ = false;
};

void tell(NoticeSink& sink, std::string text, bool illegalInput) {
    Notice n;
    n.text = std::move(text);
    if (illegalInput) {
        n.title = latlon::IllegalInputTitle;
        n.icon = NoticeIcon::Exclamation;
    }
    sink.notice(n);
}

// A single typed character becomes the hemisphere in upper case; away from latitudes the
// Norwegian letters Ø (east) and V (west) are understood too.
std::string hemisphereLetter(std::string_view typed, bool latitude) {
    char c = upperLatin1(typed.front());
    if (!latitude) {
        if (c == '\xD8') c = 'E';
        if (c == 'V') c = 'W';
    }
    return std::string(1, c);
}

// A hemisphere typed after the numbers replaces the default; more than one character keeps the
// default and says so.
void readHemisphere(const TypedTextWalker& walk, const std::string& name, bool latitude, std::string& hemisphere,
                    NoticeSink& notices, bool illegalInput) {
    if (!walk.hasHemisphere()) return;
    if (walk.hemisphere().size() != 1) {
        tell(notices,
             std::string(walk.hemisphere()) + "!   " + name +
                 (latitude ? " CHARACTER FORMAT ERROR. Default, N, used" : " CHARACTER FORMAT ERROR. Default, E, used"),
             illegalInput);
    } else {
        hemisphere = hemisphereLetter(walk.hemisphere(), latitude);
    }
}

}  // namespace

std::string FormatLatLonDM(double value, std::string_view kindIn, std::string_view target,
                           int decimals) {
    const std::string kind = upperText(kindIn);
    const int shown = shownMinuteDecimals(decimals);
    const double a = std::fabs(value);
    double deg = std::floor(a);
    double min = (a - deg) * 60.0;
    if (min >= carryThreshold(shown)) {
        deg += 1;
        min = 0;
    }
    std::string out = degreeDigits(deg, kind == "LAT");
    out += degreeMark(target);
    out += ' ';
    out += twoDigitFixed(min, shown);
    out += '\'';
    out += hemisphereSuffix(kind, value);
    return out;
}

std::string FormatLatLonDMS(double value, std::string_view kindIn, std::string_view target,
                            int decimals) {
    const std::string kind = upperText(kindIn);
    const int shown = shownSecondDecimals(decimals);
    DmsParts p = splitDms(value, shown, false);
    const bool hemisphereKind = kind == "LAT" || kind == "LON";
    // Without a hemisphere letter the sign stays on the degrees.
    if (!hemisphereKind && value < 0) p.deg = -p.deg;
    std::string out = degreeDigits(p.deg, kind == "LAT");
    out += degreeMark(target);
    out += ' ';
    out += twoDigitFixed(p.min, 0);
    out += "' ";
    out += twoDigitFixed(p.sec, shown);
    out += '"';
    out += hemisphereSuffix(kind, value);
    return out;
}

std::string FormatDMSCompact(double value, std::string_view kindIn, std::string_view target,
                             int decimals) {
    const std::string kind = upperText(kindIn);
    const int shown = shownSecondDecimals(decimals);
    const DmsParts p = splitDms(value, shown, true);
    const bool latitude = kind == "LAT";
    std::string out = degreeDigits(p.deg, latitude);
    out += degreeMark(target);
    out += twoDigitFixed(p.min, 0);
    out += '\'';
    out += twoDigitFixed(p.sec, shown);
    out += '"';
    if (latitude)
        out += value < 0 ? 'S' : 'N';
    else
        out += value < 0 ? 'W' : 'E';
    return out;
}

double ParseLatLonDMS(std::string& text, std::string_view kindIn, NoticeSink& notices) {
    const std::string kind = upperText(kindIn);
    const bool latitude = kind == "LAT";
    const std::string name = latitude ? "LATITUDE" : "LONGITUDE";
    try {
        std::string hemisphere = latitude ? "N" : "E";
        std::string_view typed = trimBlanks(text);
        if (!typed.empty() && typed.front() == '-') {
            hemisphere = latitude ? "S" : "W";
            typed = trimLeft(typed.substr(1));
        }
        TypedTextWalker walk(typed);
        long deg = wholeNumber(walk.step(isDigit, latlon::FileDegreeMark));
        long min = wholeNumber(walk.step(isDigit, '\''));
        double sec = decimalNumber(walk.step(isDecimalChar, '"'));
        walk.finish();

        readHemisphere(walk, name, latitude, hemisphere, notices, false);

        const double total = deg + min / 60.0 + sec / 3600.0;
        if (latitude && total > 90) {
            tell(notices, name + " FORMAT ERROR. Max 90 deg allowed", false);
            deg = 90, min = 0, sec = 0;
        }
        if (kind == "LON" && total > 180) {
            tell(notices, name + " FORMAT ERROR. Max 180 deg allowed", false);
            deg = 180, min = 0, sec = 0;
        }
        if (sec >= 60) {
            tell(notices, name + " SECOND FORMAT ERROR. Max 59.9999 allowed", false);
            min += 1;
            checkInteger(min);
            sec = 0;
        }
        if (min >= 60) {
            tell(notices, name + " MINUTE FORMAT ERROR. Max 59 allowed", false);
            deg += 1;
            checkInteger(deg);
            min = 0;
        }
        if (latitude && hemisphere != "N" && hemisphere != "S") {
            tell(notices, name + " FORMAT ERROR. Default, N, used", false);
            hemisphere = "N";
        }
        if (kind == "LON" && hemisphere != "E" && hemisphere != "W") {
            tell(notices, name + " FORMAT ERROR. Default, E, used", false);
            hemisphere = "E";
        }

        std::string canonical = degreeDigits(deg, latitude);
        canonical += latlon::DegreeSign;
        canonical += twoDigitFixed(min, 0);
        canonical += '\'';
        canonical += twoDigitFixed(sec, 4);
        canonical += '"';
        canonical += hemisphere;
        text = canonical;

        const double result = deg + min / 60.0 + sec / 3600.0;
        return hemisphere == "S" || hemisphere == "W" ? -result : result;
    } catch (const RuntimeError&) {
        tell(notices, name + " FORMAT ERROR. ", false);
        return 0.0;
    }
}

double ParseLatLonDM(std::string& text, std::string_view kindIn, int decimals,
                     NoticeSink& notices) {
    const std::string kind = upperText(kindIn);
    const bool latitude = kind == "LAT";
    const bool longitude = kind == "LON";
    const std::string name = latitude ? "LATITUDE" : longitude ? "LONGITUDE" : "AZIMUTH";
    try {
        std::string hemisphere = latitude ? "N" : longitude ? "E" : "";
        bool negative = false;
        std::string_view typed = trimBlanks(text);
        if (!typed.empty() && typed.front() == '-') {
            if (latitude)
                hemisphere = "S";
            else if (longitude)
                hemisphere = "W";
            else
                negative = true;
            typed = trimLeft(typed.substr(1));
        }
        TypedTextWalker walk(typed);
        long deg = wholeNumber(walk.step(isDigit, latlon::FileDegreeMark));
        double min = decimalNumber(walk.step(isDecimalChar, '\''));
        walk.finish();

        readHemisphere(walk, name, latitude, hemisphere, notices, true);
        // A bearing or azimuth has no hemisphere and its text no sign: a south or west letter
        // means what a leading "-" does, so the value never turns negative behind a text that
        // shows it positive.
        if (!latitude && !longitude && (hemisphere == "S" || hemisphere == "W")) {
            negative = true;
            hemisphere.clear();
        }

        if (latitude && deg + min / 60.0 > 90) {
            tell(notices, name + " FORMAT ERROR. Max 90 deg allowed", true);
            deg = 90, min = 0;
        }
        if (longitude && deg + min / 60.0 > 180) {
            tell(notices, name + " FORMAT ERROR. Max 180 deg allowed", true);
            deg = 180, min = 0;
        }
        if (kind == "BRG" && negative) {
            tell(notices,
                 name + " FORMAT ERROR. Negative values not allowed. Automatic adjustment to "
                        "range 0-360 deg",
                 true);
            deg = 360 - deg;
            while (deg <= 0) deg += 360;
        }
        if (kind == "BRG" && deg >= 360) {
            tell(notices,
                 name + " FORMAT ERROR. Max value 360 deg. Automatic adjustment to range "
                        "0-360 deg",
                 true);
            while (deg >= 360) deg -= 360;
        }
        if (min >= 60) {
            tell(notices, name + " MINUTE FORMAT ERROR. Max 60 allowed", false);
            deg += 1;
            checkInteger(deg);
            min = 0;
            if (kind == "BRG" && deg >= 360) deg -= 360;  // 359 60 is north again, not 360
        }
        if (latitude && hemisphere != "N" && hemisphere != "S") {
            tell(notices, name + " FORMAT ERROR. Default, N, used", false);
            hemisphere = "N";
        } else if (longitude && hemisphere != "E" && hemisphere != "W") {
            tell(notices, name + " FORMAT ERROR. Default, E, used", false);
            hemisphere = "E";
        }

        double result = deg + min / 60.0;
        if (hemisphere == "S" || hemisphere == "W") result = -result;
        text = FormatLatLonDM(result, kind, "FORM", decimals);
        // A bearing just short of 360 that the text rounds up to 360 is north: read back,
        // "360" would be moved to 0 with a message.
        if (kind == "BRG" && text.compare(0, 3, "360") == 0) {
            result = 0;
            text = FormatLatLonDM(result, kind, "FORM", decimals);
        }
        return result;
    } catch (const RuntimeError&) {
        tell(notices, name + " FORMAT ERROR. ", true);
        return 0.0;
    }
}

}  // namespace tiderune
