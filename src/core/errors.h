#pragma once
// Run-time errors of the data path. The receive handlers and the replay catch them per
// line, write them to the error log and carry on with the next line.
#include <stdexcept>
#include <string>

namespace tiderune {

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}
    int number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }

private:
    int number_;
    std::string description_;
};

// The error numbers the program reports, as its users know them.
namespace err {
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEndOfFile = 62;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
}  // namespace err

[[noreturn]] inline void throwSubscriptOutOfRange() {
    throw RuntimeError(err::SubscriptOutOfRange, "Subscript out of range");
}

}  // namespace tiderune
