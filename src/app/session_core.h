#pragma once
// The analysis core as the session control uses it: the program-wide tables and the
// operations on the setup, the statistics and the AIS tables. The program's implementation
// calls the core; tests may watch the calls.
#include <string>

#include "core/core_state.h"

namespace tiderune {

class SessionCore {
public:
    virtual ~SessionCore() = default;

    virtual CoreState& state() = 0;

    virtual void LoadDefaultSetup() = 0;
    virtual void LoadSetupFile(const std::string& path) = 0;
    virtual void SaveSetupFile(const std::string& path) = 0;
    virtual void SetAnalysedMessageTypes(int system) = 0;
    virtual void ResetSystemStatistics(int system) = 0;
    virtual void InitAISTables() = 0;
    // Every system's sentence date := today.
    virtual void setSentenceDatesToToday() = 0;
};

}  // namespace tiderune
