// Any bytes through the sentence intake, every sentence type analysed. The first byte picks
// the system and the switches; the rest is split at line feeds into lines fed in turn.
// After every line the records must hold no infinity or NaN.
//
// Every input starts from the state a new CoreState has, so that a finding replays alone.
// Making a new one per input would cost more than the input: its statistics tables are about
// a megabyte, which the sanitizer's allocator hands out as fresh pages every time, and that
// held the target to a few hundred inputs a second. One state is kept instead and set back
// from a pristine copy, which reuses its pages.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "ais/ais_engine.h"
#include "core/ais_services.h"
#include "core/core_sink.h"
#include "core/core_state.h"
#include "core/errors.h"
#include "core/intake.h"

using namespace tiderune;

namespace {

bool finite(const NMEAMessageSet& m) {
    const double values[] = {m.GGA.Latitude, m.GGA.Longitude, m.GGA.HDOP, m.GGA.Altitude, m.GGA.DGPSAge,
                             m.GNS.Latitude, m.GNS.Longitude, m.GNS.HDOP, m.GLL.Latitude, m.GLL.Longitude,
                             m.RMC.Latitude, m.RMC.Longitude, m.RMC.SpeedKnots, m.VTG.SpeedKmh, m.HDT.Heading,
                             m.ATT.Heading, m.ATT.Pitch, m.ATT.Roll, m.ROT.RateOfTurn, m.VHW.SpeedKnots,
                             m.DBT.DepthMetres, m.GSA.PDOP, m.GST.RMS, m.GST.SdAltitude, m.TTM.Distance,
                             m.TTM.TCPA};
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const auto pristine = std::make_unique<const CoreState>();
    static const auto state = std::make_unique<CoreState>();
    *state = *pristine;
    const std::uint8_t flags = data[0];
    const int system = 1 + ((flags >> 3) & 3);
    for (int s = 1; s <= 4; ++s) {
        for (SentenceType t : AllSentenceTypes) state->config.Systems[s].analysed(t) = true;
        state->config.ChecksumTest[s] = flags & 1;
        state->config.WindowVisible[s][VisibleForms::NMEAMonitor] = flags & 2;
    }
    state->run.LoggingOn = flags & 4;
    CoreSink sink;
    AisEngine ais(sink, [&st = *state](int s) { return st.EpochTime[s]; }, [] { return 46000.5; });

    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    while (true) {
        const auto lf = rest.find('\n');
        const std::string_view line = lf == std::string_view::npos ? rest : rest.substr(0, lf + 1);
        try {
            ProcessSentence(*state, sink, ais, system, line);
        } catch (const RuntimeError&) {
            // A line the intake refuses; the next one goes on.
        }
        if (!finite(state->NMEAMessages[system])) __builtin_trap();
        if (lf == std::string_view::npos) break;
        rest.remove_prefix(lf + 1);
    }
    return 0;
}
