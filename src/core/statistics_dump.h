#pragma once
// A plain-text listing of a system's statistics, for the replay tool and its golden files:
// one line per record or block that has received data (accepted or missing samples).
#include <string>

#include "analysis_state.h"

namespace tiderune {

// Lines look like
//   GGA 1 dN        count 120 mean 0.1234 sdev 0.5678 max 1.2000 min -0.9000 p68 0.6100 p95 1.0200 missing 2
// Position records are in degrees with eight decimals; nothing is printed for a system without data.
std::string formatStatisticsDump(const AnalysisState& analysis, int system);

}  // namespace tiderune
