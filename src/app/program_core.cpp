#include "app/program_core.h"

#include "core/config.h"
#include "core/intake.h"

namespace tiderune {

ProgramCore::ProgramCore() : state_(std::make_unique<CoreState>()) {}
ProgramCore::~ProgramCore() = default;

void ProgramCore::LoadDefaultSetup() { tiderune::LoadDefaultSetup(state_->config); }

void ProgramCore::LoadSetupFile(const std::string&) {}
void ProgramCore::SaveSetupFile(const std::string&) {}

void ProgramCore::SetAnalysedMessageTypes(int system) {
    SystemSetup& s = state_->config.Systems[system];
    for (SentenceType t : AllSentenceTypes) s.analysed(t) = false;
    const auto& names = state_->config.MessagesToAnalyse[system];
    for (int slot = 1; slot <= SavedMessageSlots; ++slot) {
        const std::string& name = names[slot];
        if (name.empty()) break;
        for (SentenceType t : AllSentenceTypes)
            if (sentenceTypeName(t) == name) s.analysed(t) = true;
    }
}

void ProgramCore::ResetSystemStatistics(int) {}
void ProgramCore::InitAISTables() {}

}  // namespace tiderune

namespace tiderune {

void ProgramCore::ProcessSentence(CoreSink& sink, int system, std::string_view line) {
    tiderune::ProcessSentence(*state_, sink, ais_, system, line);
}

}  // namespace tiderune
