#include "app/program_core.h"

#include "ais/ais_engine.h"
#include "core/config.h"
#include "core/intake.h"
#include "core/processing.h"
#include "core/setup_file.h"

namespace tiderune {

ProgramCore::ProgramCore() : state_(std::make_unique<CoreState>()) {}
ProgramCore::~ProgramCore() = default;

void ProgramCore::LoadDefaultSetup() { tiderune::LoadDefaultSetup(state_->config); }

SetupLoad ProgramCore::LoadSetupFile(const std::string& path, NoticeSink& notices, SavedOver savedOver) {
    return tiderune::LoadSetupFile(state_->config, path, notices, savedOver);
}

void ProgramCore::SaveSetupFile(const std::string& path) { tiderune::SaveSetupFile(state_->config, path); }

void ProgramCore::SetAnalysedMessageTypes(int system) { tiderune::SetAnalysedMessageTypes(state_->config, system); }

void ProgramCore::ResetSystemStatistics(int system) { tiderune::ResetSystemStatistics(*state_, system); }
void ProgramCore::InitAISTables(NoticeSink& notices) {
    CoreState* state = state_.get();
    ais_ = std::make_unique<AisEngine>(notices, [state](int system) { return state->EpochTime[system]; });
}

void ProgramCore::ProcessSentence(CoreSink& sink, int system, std::string_view line) {
    AisServices& ais = ais_ ? static_cast<AisServices&>(*ais_) : noAis_;
    tiderune::ProcessSentence(*state_, sink, ais, system, line);
}

}  // namespace tiderune
