#include "source_texts.h"

#include "core/number_text.h"

namespace tiderune {

std::string sourceNotAvailableText(std::string_view description, SourceKind kind, long port, int system,
                                   std::string_view systemName) {
    std::string text(description);
    text += kind == SourceKind::Udp ? ". UDP Port " : ". Comport ";
    text += StrNumber(static_cast<long long>(port)) + " not available! System " + StrNumber(system) + " -";
    text += systemName;
    text += " disabled";
    return text;
}

std::string tcpErrorText(int system, int number, std::string_view description) {
    std::string text = "TCP/IP Error, system " + StrNumber(system) + " :" + StrNumber(number) + " - ";
    text += description;
    return text;
}

}  // namespace tiderune
