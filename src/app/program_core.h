#pragma once
// The session core of the running program: the core's tables and the operations the
// session control calls on them.
#include <memory>

#include "frame/session_core.h"
#include "core/ais_services.h"

namespace tiderune {
class AisEngine;
}

namespace tiderune {

class ProgramCore final : public SessionCore {
public:
    ProgramCore();
    ~ProgramCore() override;

    CoreState& state() override { return *state_; }

    void LoadDefaultSetup() override;
    SetupLoad LoadSetupFile(const std::string& path, NoticeSink& notices, SavedOver savedOver) override;
    void SaveSetupFile(const std::string& path) override;
    void SetAnalysedMessageTypes(int system) override;
    void ResetSystemStatistics(int system) override;
    void InitAISTables(NoticeSink& notices) override;
    const AisEngine* aisEngine() const override { return ais_.get(); }
    void ProcessSentence(CoreSink& sink, int system, std::string_view line) override;

private:
    std::unique_ptr<CoreState> state_;
    // Until the AIS tables are built, AIS sentences are taken without decoding.
    NullAisServices noAis_;
    std::unique_ptr<AisEngine> ais_;
};

}  // namespace tiderune
