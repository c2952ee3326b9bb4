#pragma once
// Builds AIS test sentences: fields are written bit by bit as ITU-R M.1371 lays them out,
// armoured into 6-bit characters and wrapped into VDM sentences with their checksum.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tiderune::test {

class AisBitWriter {
public:
    AisBitWriter& u(std::uint64_t value, int width);   // unsigned field
    AisBitWriter& s(std::int64_t value, int width);    // two's-complement field
    AisBitWriter& text(std::string_view s, int chars);  // 6-bit text, padded with "@"
    // The three fields every message opens with.
    AisBitWriter& header(int id, int repeat, std::uint32_t mmsi) { return u(id, 6).u(repeat, 2).u(mmsi, 30); }
    int size() const { return static_cast<int>(bits_.size()); }
    // Armours the bits; `fill` gets the bits added to complete the last character.
    std::string payload(int& fill) const;
    std::string payload() const {
        int fill = 0;
        return payload(fill);
    }

private:
    std::vector<bool> bits_;
};

// "*hh": the NMEA checksum of everything between the leading "!" and the "*".
std::string withChecksum(const std::string& body);
// One VDM sentence with the given fields.
std::string vdm(int count, int number, const std::string& seqId, const std::string& channel,
                const std::string& payload, int fill);
// A whole message as one sentence, or split into sentences of at most `perSentence` characters.
std::vector<std::string> vdmMessage(const AisBitWriter& w, int perSentence = 60, const std::string& seqId = "1",
                                    const std::string& channel = "A");

}  // namespace tiderune::test
