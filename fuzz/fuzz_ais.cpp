// Any bytes through the AIS assembly, decoders and target store. The first byte picks the
// system and how the rest is used: as lines of VDM/VDO text, or as the payload of one message
// cut into fragments with counts, ids, channels and fill bits taken from the input. After
// every sentence the store must be consistent and every decoded number finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ais/ais_engine.h"
#include "core/errors.h"

using namespace tiderune;

namespace {

bool consistent(const AisEngine& e, int system) {
    const AisTargetStore& s = e.targets();
    const int count = s.TargetCount[system];
    if (count < 0 || count > MaxAISTargets) return false;
    if (s.CurrentTarget[system] < 0 || s.CurrentTarget[system] > count) return false;
    if (e.PendingPayload(system).size() > static_cast<std::size_t>(AisBits::MaxChars)) return false;
    for (int i = 1; i <= count; ++i) {
        const AISTarget& t = s.AISTargetTable[system][i];
        if (t.MMSI == 0 || !std::isfinite(t.Latitude) || !std::isfinite(t.Longitude) || !std::isfinite(t.RateOfTurn))
            return false;
    }
    const AISMessageSet& m = e.AISMessages(system);
    for (const BinaryMessageSlot* b : {&m.Msg6, &m.Msg8}) {
        if (!std::isfinite(b->MetLatitude) || !std::isfinite(b->AirTemperature) || !std::isfinite(b->TidalLatitude[3]) ||
            !std::isfinite(b->ObservationAirPressure) || b->Summary.size() > 2 * AisBits::MaxChars)
            return false;
    }
    return m.Msg17.NumberOfSatellites <= DGNSSSlot::MaxSatellites && std::isfinite(m.Msg5.ETA) &&
           std::isfinite(m.Msg1.RateOfTurn) && m.Msg25.Summary.size() <= 2 * AisBits::MaxChars &&
           m.Msg26.Summary.size() <= 2 * AisBits::MaxChars;
}

void feed(AisEngine& e, VDMRecord& record, int system, const std::string& line) {
    try {
        e.processVDM(system, line, record);
        e.storeAISTarget(system);
    } catch (const RuntimeError&) {
        // Refused like any other bad line; the next one goes on.
    }
    if (!consistent(e, system)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    NullNoticeSink notices;
    AisEngine engine(notices, [](int) { return 46000.25; }, [] { return 46364.5; });
    VDMRecord record;
    const std::uint8_t flags = data[0];
    const int system = 1 + (flags & 3);
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);

    if ((flags & 4) == 0) {
        // Lines of sentence text.
        while (!rest.empty()) {
            const auto lf = rest.find('\n');
            feed(engine, record, system, std::string(rest.substr(0, lf)));
            if (lf == std::string_view::npos) break;
            rest.remove_prefix(lf + 1);
        }
        return 0;
    }
    // One payload in fragments: next byte = fragment count (low nibble), fill bits, channel.
    const std::uint8_t shape = static_cast<std::uint8_t>(rest.front());
    rest.remove_prefix(1);
    const int count = 1 + (shape & 7);
    const int fill = (shape >> 3) & 7;
    const std::string channel = (shape & 64) ? "B" : "A";
    const std::size_t per = rest.size() / static_cast<std::size_t>(count) + 1;
    for (int k = 1; k <= count; ++k) {
        const std::size_t from = std::min(rest.size(), per * static_cast<std::size_t>(k - 1));
        std::string payload(rest.substr(from, per));
        for (char& c : payload)
            if (c == ',' || c == '*' || c == '\n') c = '0';  // keep the fields apart
        const std::string line = "!AIVDM," + std::to_string(count) + "," + std::to_string(k) + "," +
                                 ((shape & 128) ? "" : "3") + "," + channel + "," + payload + "," +
                                 std::to_string(k == count ? fill : 0) + "*00";
        feed(engine, record, system, line);
        // The same message once more on another system, fragment by fragment.
        feed(engine, record, 1 + (system % 4), line);
    }
    return 0;
}
