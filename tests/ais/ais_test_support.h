#pragma once
// A decoding engine with a fixed clock, settable epoch times and a notice recorder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ais/ais_decoders.h"
#include "ais/ais_engine.h"
#include "ais_sentence_builder.h"
#include "core/indexed.h"

namespace tiderune::test {

class RecordingNotices final : public NoticeSink {
public:
    void notice(const Notice& n) override { notices.push_back(n); }
    std::vector<Notice> notices;
};

class AisEngineTest : public ::testing::Test {
protected:
    // 8 Dec 2026, 19:30:00: the PC clock of every test.
    const double kNow = aisDateValue(2026, 12, 8, 19, 30);

    AisEngineTest() { epoch.fill(45000.0); }

    // One sentence through the intake's two calls.
    void feed(const std::string& sentence, int system = 1) {
        engine.processVDM(system, sentence, vdm[system]);
        engine.storeAISTarget(system);
    }
    void feed(const std::vector<std::string>& sentences, int system = 1) {
        for (const auto& s : sentences) feed(s, system);
    }
    void feed(const AisBitWriter& w, int system = 1) { feed(vdmMessage(w), system); }

    const AISMessageSet& slots(int system = 1) const { return engine.AISMessages(system); }
    const AisTargetStore& store() const { return engine.targets(); }
    const AISTarget& target(int index, int system = 1) const { return store().AISTargetTable[system][index]; }

    RecordingNotices notices;
    PerSystem<double> epoch;
    PerSystem<VDMRecord> vdm;
    AisEngine engine{notices, [this](int s) { return epoch[s]; }, [this] { return kNow; }};
};

}  // namespace tiderune::test
