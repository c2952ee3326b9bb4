#include "ais_assembly.h"

#include <array>

#include "core/errors.h"
#include "core/number_text.h"
#include "core/parsers.h"

namespace tiderune {

namespace {

constexpr int kMaxFragments = 9;

}  // namespace

bool ExtractVDM(std::string_view sentence, VDMRecord& vdm, NoticeSink& notices) {
    std::array<std::string_view, 7> field{};
    int n = 0;
    std::string_view rest = sentence;
    for (int pass = 0; pass < 7; ++pass) {
        const std::size_t comma = rest.find(',');
        if (comma == std::string_view::npos) break;
        field[static_cast<std::size_t>(n)] = rest.substr(0, comma);
        rest = rest.substr(comma + 1);
        ++n;
    }
    if (n > 6) return false;  // too many fields: the record keeps what it had
    field[static_cast<std::size_t>(n)] = rest.substr(0, rest.find('*'));

    // A number that does not fit its field is reported the way the other sentence parsers
    // report theirs; the field keeps its previous value and the rest is still filled.
    bool allTaken = true;
    auto take = [&](std::int16_t& target, std::string_view text) {
        // Nearly every field is one to four plain digits, whose value needs no number reading.
        if (!text.empty() && text.size() <= 4) {
            int v = 0;
            std::size_t i = 0;
            while (i < text.size() && text[i] >= '0' && text[i] <= '9') v = v * 10 + (text[i++] - '0');
            if (i == text.size()) {
                target = static_cast<std::int16_t>(v);
                return;
            }
        }
        int error = err::Overflow;
        try {
            if (toInteger(FieldValue(text), target)) return;
        } catch (const RuntimeError& e) {
            error = e.number();
        }
        allTaken = false;
        notices.notice(parserErrorNotice("VDM", error, sentence));
    };
    take(vdm.FragmentCount, field[1]);
    take(vdm.FragmentNumber, field[2]);
    take(vdm.SequentialID, field[3]);
    vdm.Channel = field[4].empty() ? ' ' : field[4][0];
    vdm.Payload.assign(field[5]);
    take(vdm.FillBits, field[6]);
    return n == 6 && allTaken;
}

int DecodeAISPayload(std::string_view payload, AISMessageSet& m, std::int16_t& messageID, int fillBits,
                     const AisDecodeContext& ctx) {
    const AisBits bits(payload, fillBits);
    const int id = static_cast<int>(GetBitsValue(bits, 1, 6));
    messageID = static_cast<std::int16_t>(id);
    switch (id) {
    case 1:
    case 2:
    case 3: DecodeMsg1_3_PositionReportA(bits, m.classA(id), ctx); break;
    case 4: DecodeMsg4_BaseStation(bits, m.Msg4, ctx); break;
    case 5: DecodeMsg5_StaticVoyage(bits, m.Msg5, ctx); break;
    case 6: DecodeMsg6_AddressedBinary(bits, m.Msg6, ctx, bits.payloadChars(), bits.fillBits()); break;
    case 7: m.Msg7.TimeOfReceipt = ctx.now; break;
    case 8: DecodeMsg8_BroadcastBinary(bits, m.Msg8, ctx, bits.payloadChars(), bits.fillBits()); break;
    case 9: DecodeMsg9_SARAircraft(bits, m.Msg9, ctx); break;
    case 10: DecodeMsg10_UTCInquiry(bits, m.Msg10, ctx); break;
    case 11: m.Msg11.TimeOfReceipt = ctx.now; break;
    case 12: DecodeMsg12_AddressedSafety(bits, m.Msg12, ctx, bits.payloadChars(), bits.fillBits()); break;
    case 13: m.Msg13.TimeOfReceipt = ctx.now; break;
    case 14: DecodeMsg14_SafetyBroadcast(bits, m.Msg14, ctx, bits.payloadChars(), bits.fillBits()); break;
    case 15: m.Msg15.TimeOfReceipt = ctx.now; break;
    case 16: DecodeMsg16_AssignmentCommand(bits, m.Msg16, ctx); break;
    case 17: DecodeMsg17_DGNSSBroadcast(bits, m.Msg17, ctx); break;
    case 18: DecodeMsg18_StandardClassB(bits, m.Msg18, ctx); break;
    case 19: DecodeMsg19_ExtendedClassB(bits, m.Msg19, ctx); break;
    case 20: DecodeMsg20_DataLinkManagement(bits, m.Msg20, ctx); break;
    case 21: DecodeMsg21_AidToNavigation(bits, m.Msg21, ctx); break;
    case 22: DecodeMsg22_ChannelManagement(bits, m.Msg22, ctx); break;
    case 23: DecodeMsg23_GroupAssignment(bits, m.Msg23, ctx); break;
    case 24: DecodeMsg24_StaticDataReport(bits, m.Msg24, ctx); break;
    case 25: DecodeMsg25_SingleSlotBinary(bits, m.Msg25, ctx, bits.payloadChars(), bits.fillBits()); break;
    case 26: DecodeMsg26_MultiSlotBinary(bits, m.Msg26, ctx, bits.payloadChars(), bits.fillBits()); break;
    case 27: DecodeMsg27_LongRange(bits, m.Msg27, ctx); break;
    default: break;  // 0 and 28-63 are no messages we know
    }
    return bits.usableBits();
}

void ProcessVDM(std::string_view sentence, VDMRecord& vdm, AisAssembly& a, AISMessageSet& messages,
                std::int16_t& messageID, int& messageBits, const AisDecodeContext& ctx, NoticeSink& notices) {
    messageID = NoMessageYet;
    messageBits = 0;
    if (!ExtractVDM(sentence, vdm, notices)) return;  // malformed: nothing joined, nothing decoded

    const int count = vdm.FragmentCount;
    const int number = vdm.FragmentNumber;
    if (number < 1 || number > count || count > kMaxFragments) return;

    // The message of this fragment's channel and sequential id, if one is open.
    int place = -1;
    for (int k = 0; k < AisAssembly::Places; ++k) {
        const AisAssembly::Pending& p = a.places[k];
        if (p.open && p.channel == vdm.Channel && p.sequentialID == vdm.SequentialID) {
            place = k;
            break;
        }
    }
    auto drop = [&a](int k) {
        a.places[k].payload.clear();
        a.places[k].open = false;
    };

    if (number == 1) {
        // A first fragment always opens a new message, so a lost last fragment never glues
        // two messages together.
        if (place < 0) {
            place = 0;
            for (int k = 0; k < AisAssembly::Places; ++k) {
                const AisAssembly::Pending& p = a.places[k];
                if (!p.open) {
                    place = k;
                    break;
                }
                if (p.lastUse < a.places[place].lastUse) place = k;
            }
        }
        drop(place);
        AisAssembly::Pending& p = a.places[place];
        p.open = true;
        p.fragmentCount = vdm.FragmentCount;
        p.sequentialID = vdm.SequentialID;
        p.channel = vdm.Channel;
    } else if (place < 0) {
        return;  // the continuation of no message we hold
    } else if (a.places[place].fragmentCount != vdm.FragmentCount || a.places[place].lastFragment + 1 != number) {
        drop(place);  // not the continuation of the message being assembled
        a.current = place;
        return;
    }
    a.current = place;
    AisAssembly::Pending& p = a.places[place];
    p.lastUse = ++a.uses;
    p.lastFragment = vdm.FragmentNumber;
    // Never hold more than the payload array can take.
    const std::size_t room = AisBits::MaxChars - std::min<std::size_t>(p.payload.size(), AisBits::MaxChars);
    p.payload.append(vdm.Payload, 0, std::min(room, vdm.Payload.size()));
    if (number != count) return;

    messageBits = DecodeAISPayload(p.payload, messages, messageID, vdm.FillBits, ctx);
    drop(place);
}

}  // namespace tiderune
