#pragma once
// The messages about the live sources: a source that cannot be opened, and a TCP error.
#include <string>
#include <string_view>

namespace tiderune {

enum class SourceKind { Serial, Udp };

// "<description>. Comport  3 not available! System  1 -GPS disabled", with ". UDP Port "
// for a UDP source; the numbers with a leading blank.
std::string sourceNotAvailableText(std::string_view description, SourceKind kind, long port, int system,
                                   std::string_view systemName);

// "TCP/IP Error, system  2 : 10061 - <description>"; the numbers with a leading blank.
std::string tcpErrorText(int system, int number, std::string_view description);

}  // namespace tiderune
