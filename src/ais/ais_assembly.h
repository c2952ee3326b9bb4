#pragma once
// From VDM/VDO sentences to decoded AIS messages: the sentence fields, the joining of the
// fragments of a multi-sentence message and the hand-over of a complete payload to the
// decoder of its message type.
#include <cstdint>
#include <string>
#include <string_view>

#include "ais_decoders.h"
#include "ais_messages.h"
#include "core/notices.h"
#include "core/vdm_record.h"

namespace tiderune {

// Fills `vdm` from the sentence's fields (address, count, number, sequential id, channel,
// payload, fill bits). A sentence with more than seven fields leaves the record as it was;
// a number that does not fit its field keeps the field's previous value and is reported.
// Returns true when the sentence had exactly seven fields and every number was taken.
bool ExtractVDM(std::string_view sentence, VDMRecord& vdm, NoticeSink& notices);

// The messages being assembled on one system. A receiver listening on both channels
// interleaves the fragments of its messages, so each channel and sequential id has a message
// of its own; the oldest one gives way when a new message finds every place taken.
struct AisAssembly {
    struct Pending {
        std::string payload;
        bool open = false;
        std::int16_t fragmentCount = 0;
        std::int16_t lastFragment = 0;
        std::int16_t sequentialID = 0;
        char channel = ' ';
        std::uint64_t lastUse = 0;
    };
    static constexpr int Places = 8;
    Pending places[Places];
    std::uint64_t uses = 0;
    int current = 0;  // the place the last accepted fragment went to

    // The payload collected so far of the message the last fragment belonged to; "" when
    // that fragment completed or broke its message, or none was accepted yet.
    const std::string& currentPayload() const { return places[current].payload; }
};

// The message id when a sentence completed no message.
inline constexpr std::int16_t NoMessageYet = -99;

// One VDM/VDO sentence: fills `vdm`, joins the fragment to the pending message and decodes
// the message when its last fragment has arrived. `messageID` becomes the id of the decoded
// message, or -99 when this sentence completed none; `messageBits` the usable bits of the
// decoded payload.
void ProcessVDM(std::string_view sentence, VDMRecord& vdm, AisAssembly& assembly, AISMessageSet& messages,
                std::int16_t& messageID, int& messageBits, const AisDecodeContext& ctx, NoticeSink& notices);

// De-armours a complete payload, stores its id in `messageID` and decodes it into the slot
// of that id. Returns the payload's usable bits.
int DecodeAISPayload(std::string_view payload, AISMessageSet& messages, std::int16_t& messageID, int fillBits,
                     const AisDecodeContext& ctx);

}  // namespace tiderune
