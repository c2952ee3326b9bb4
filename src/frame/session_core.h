#pragma once
// The analysis core as the session control uses it: the program-wide tables and the
// operations on the setup, the statistics and the AIS tables. The program's implementation
// calls the core; tests may watch the calls.
#include <string>
#include <string_view>

#include "core/core_sink.h"

#include "core/core_state.h"
#include "core/setup_file.h"

namespace tiderune {

class AisEngine;

class SessionCore {
public:
    virtual ~SessionCore() = default;

    virtual CoreState& state() = 0;

    virtual void LoadDefaultSetup() = 0;
    // Problems with the file are told through `notices`; a damaged file is kept beside
    // itself only when the program will save over it. True when the file loaded cleanly.
    virtual SetupLoad LoadSetupFile(const std::string& path, NoticeSink& notices, SavedOver savedOver) = 0;
    virtual void SaveSetupFile(const std::string& path) = 0;
    virtual void SetAnalysedMessageTypes(int system) = 0;
    virtual void ResetSystemStatistics(int system) = 0;
    // Builds the AIS lookup tables; the AIS decoding tells its problems through `notices`.
    virtual void InitAISTables(NoticeSink& notices) = 0;
    // The AIS decoding and target tables, once InitAISTables has built them; the target
    // windows read them.
    virtual const AisEngine* aisEngine() const { return nullptr; }
    // One received line of one system through the intake; raises RuntimeError for the
    // caller to log.
    virtual void ProcessSentence(CoreSink& sink, int system, std::string_view line) = 0;
};

}  // namespace tiderune
