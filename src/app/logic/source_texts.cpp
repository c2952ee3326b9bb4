#include "source_texts.h"

namespace tiderune {

namespace {
// A number as the messages write it: a blank before a number that is not negative.
std::string withSign(long n) { return (n >= 0 ? " " : "") + std::to_string(n); }
}  // namespace

std::string sourceNotAvailableText(std::string_view description, SourceKind kind, long port, int system,
                                   std::string_view systemName) {
    std::string text(description);
    text += kind == SourceKind::Udp ? ". UDP Port " : ". Comport ";
    text += withSign(port) + " not available! System " + withSign(system) + " -";
    text += systemName;
    text += " disabled";
    return text;
}

std::string tcpErrorText(int system, int number, std::string_view description) {
    std::string text = "TCP/IP Error, system " + withSign(system) + " :" + withSign(number) + " - ";
    text += description;
    return text;
}

}  // namespace tiderune
