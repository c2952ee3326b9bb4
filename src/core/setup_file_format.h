#pragma once
// The item layer of the setup file: lines of comma-separated items ending in CR LF, texts in
// double quotes, Booleans as #TRUE#/#FALSE#, numbers in plain decimal. The reader also takes
// what older versions of the program wrote (".5", "-.5", "1E-05", items split over lines).
//
// Errors are RuntimeErrors carrying the numbers the program's users know: 53 file not found,
// 62 input past end of file, 13 type mismatch, 6 overflow, 9 subscript out of range.
#include <cstdint>
#include <string>
#include <string_view>

#include "errors.h"

namespace tiderune {

struct SetupItem {
    std::string text;     // 8-bit bytes, without the quotes of a quoted item
    bool quoted = false;
};

class SetupFileReader {
public:
    explicit SetupFileReader(std::string content);

    // Only blanks and line breaks are left.
    bool atEnd();
    // The next item. A quoted item runs to its closing quote, line breaks included; an
    // unquoted one to the next comma or line break, blanks around it dropped. A line break
    // separates items like a comma; empty lines are skipped.
    SetupItem next();

    std::string readText();
    // #TRUE#, #FALSE# or a number (non-zero is true).
    bool readBoolean();
    std::int16_t readInteger();
    std::int32_t readLong();
    float readSingle();
    double readDouble();

private:
    double readNumber();
    std::string content_;
    std::size_t pos_ = 0;
};

// The value of a whole item as a number: optional sign, digits with at most one point,
// optional exponent (E or D); &H and &O for hexadecimal and octal; blanks ignored; an empty
// item is 0. Anything else is a type mismatch; a value beyond a Double is an overflow.
double setupItemNumber(std::string_view item);

class SetupFileWriter {
public:
    // A text item. A double quote inside would end the item early when read back, so it is
    // written as an apostrophe.
    void text(std::string_view s);
    void boolean(bool b);
    void integer(long long v);
    void single(float v);
    void dbl(double v);
    void endLine();
    const std::string& bytes() const { return out_; }

private:
    void separate();
    std::string out_;
    bool lineStarted_ = false;
};

// Plain decimal with "." and a leading zero, up to `significantDigits` significant digits,
// no exponent and no trailing zeros: 0.5, -0.25, 0.00001, 1234567.
std::string setupFileNumber(double v, int significantDigits);

// Setup files are a few kilobytes; a file above this is refused without being read.
inline constexpr long long MaxSetupFileBytes = 4LL * 1024 * 1024;

// The whole file, or a RuntimeError (53 when it does not exist, 75 for a file that is not a
// regular file or is larger than MaxSetupFileBytes).
std::string readSetupFileBytes(const std::string& path);
// Writes a temporary file next to `path` and renames it over `path`, so that a crash or a
// full disk during a save never leaves a truncated file behind. A link is followed and the
// file it names replaced; the permissions of a replaced file are kept. Throws a RuntimeError.
void replaceFileAtomically(const std::string& path, std::string_view bytes);

// Keeps the file at `path` as it is under a new name beside it, never over an earlier copy:
// "<path>.bak", or "<path>.bak.2", "<path>.bak.3", ... when that name is taken. Returns the
// name. A file that cannot be read, or is too large to read, is kept by a second link to it.
// Throws a RuntimeError when no copy could be made.
std::string keepCopyBeside(const std::string& path);

}  // namespace tiderune
