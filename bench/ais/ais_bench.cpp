// AIS sentences per second through assembly, decoding and the target store, on a generated
// traffic mix and, when the shared recordings are on this machine, on a real harbour log.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "ais/ais_engine.h"
#include "core/core_sink.h"
#include "core/core_state.h"
#include "core/errors.h"
#include "core/intake.h"
#include "ais_sentence_builder.h"

namespace {

using namespace tiderune;
using test::AisBitWriter;

// A busy channel: 300 vessels, mostly position reports, with static data in two sentences.
std::vector<std::string> generatedTraffic() {
    std::vector<std::string> lines;
    for (int round = 0; round < 40; ++round) {
        for (std::uint32_t v = 0; v < 300; ++v) {
            const std::uint32_t mmsi = 265000000 + v * 997;
            AisBitWriter w;
            if (v % 3 == 0) {
                w.header(18, 0, mmsi).u(0, 8).u(55 + v, 10).u(0, 1).s(7140000 + round * 10, 28).s(34620000 + v, 27);
                w.u(900, 12).u(91, 9).u(12, 6).u(0, 2).u(0, 8).u(0, 20);
            } else {
                w.header(1, 0, mmsi).u(0, 4).s(static_cast<int>(v % 60) - 30, 8).u(v, 10).u(1, 1);
                w.s(7140000 + round * 10, 28).s(34620000 + v, 27).u(1234, 12).u(120, 9).u(42, 6).u(0, 6).u(0, 19);
            }
            for (auto& s : test::vdmMessage(w)) lines.push_back(std::move(s));
            if (static_cast<int>(v % 25) == round % 25) {
                AisBitWriter st;
                st.header(5, 0, mmsi).u(0, 2).u(9074729, 30).text("PD4321", 7).text("NORDIC STAR", 20).u(80, 8);
                st.u(80, 9).u(20, 9).u(5, 6).u(7, 6).u(3, 4).u(3, 4).u(15, 5).u(14, 5).u(30, 6);
                st.u(52, 8).text("ROTTERDAM", 20).u(0, 2);
                for (auto& s : test::vdmMessage(st)) lines.push_back(std::move(s));
            }
        }
    }
    return lines;
}

std::vector<std::string> recording(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const auto pos = line.find('!');
        if (pos != std::string::npos && line.find("VD", pos) == pos + 3) lines.push_back(line.substr(pos));
    }
    return lines;
}

void run(benchmark::State& state, const std::vector<std::string>& lines) {
    if (lines.empty()) {
        state.SkipWithError("no sentences");
        return;
    }
    NullNoticeSink notices;
    AisEngine engine(notices, [](int) { return 46000.0; });
    VDMRecord record;
    for (auto _ : state) {
        for (const auto& s : lines) {
            engine.processVDM(1, s, record);
            engine.storeAISTarget(1);
        }
        benchmark::DoNotOptimize(engine.targets().TargetCount[1]);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(lines.size()));
    state.counters["sentences/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(lines.size()),
                           benchmark::Counter::kIsRate);
}

// The whole road of a sentence: ProcessSentence with the VDM type analysed (checksum test on)
// hands it to the AIS engine and then runs the per-type processing.
void runIntake(benchmark::State& state, const std::vector<std::string>& lines) {
    if (lines.empty()) {
        state.SkipWithError("no sentences");
        return;
    }
    auto core = std::make_unique<CoreState>();
    core->config.Systems[1].InUse = true;
    for (SentenceType t : AllSentenceTypes) core->config.Systems[1].analysed(t) = true;
    core->config.ChecksumTest[1] = true;
    CoreSink sink;
    AisEngine engine(sink, [&st = *core](int s) { return st.EpochTime[s]; });
    for (auto _ : state) {
        for (const auto& s : lines) {
            try {
                ProcessSentence(*core, sink, engine, 1, s);
            } catch (const RuntimeError&) {
            }
        }
        benchmark::DoNotOptimize(engine.targets().TargetCount[1]);
    }
    state.counters["sentences/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(lines.size()),
                           benchmark::Counter::kIsRate);
}

const std::vector<std::string>& harbourRecording();

void BM_AisGeneratedTrafficThroughIntake(benchmark::State& state) {
    static const std::vector<std::string> lines = generatedTraffic();
    runIntake(state, lines);
}
BENCHMARK(BM_AisGeneratedTrafficThroughIntake)->Unit(benchmark::kMillisecond);

void BM_AisHarbourRecordingThroughIntake(benchmark::State& state) { runIntake(state, harbourRecording()); }
BENCHMARK(BM_AisHarbourRecordingThroughIntake)->Unit(benchmark::kMillisecond);

void BM_AisGeneratedTraffic(benchmark::State& state) {
    static const std::vector<std::string> lines = generatedTraffic();
    run(state, lines);
}
BENCHMARK(BM_AisGeneratedTraffic)->Unit(benchmark::kMillisecond);

// Real traffic off Gothenburg, when the shared recordings are here; empty otherwise.
const std::vector<std::string>& harbourRecording() {
    static const std::vector<std::string> lines = [] {
        const char* dir = std::getenv("TIDERUNE_TESTDATA");
        for (std::string d : {std::string(dir ? dir : ""), std::string(TIDERUNE_SOURCE_DIR "/../shared/testdata"),
                              std::string(TIDERUNE_SOURCE_DIR "/../../shared/testdata")}) {
            if (d.empty()) continue;
            auto found = recording(d + "/opencpn/Hakefjord.log");
            if (!found.empty()) return found;
        }
        return std::vector<std::string>{};
    }();
    return lines;
}

void BM_AisHarbourRecording(benchmark::State& state) { run(state, harbourRecording()); }
BENCHMARK(BM_AisHarbourRecording)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
