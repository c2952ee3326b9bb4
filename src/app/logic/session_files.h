#pragma once
// Names of the files a session writes: the raw-data logs and the summary reports are named
// from the time they were started and the system: "yyyymmdd-hhnn-Prim-<name>" for the primary
// system, "yyyymmdd-hhnn-Sec<n>-<name>" for secondary system n (1-3).
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace tiderune {

// extension with its dot: ".log", ".txt". A "/" or a control character in the system name
// becomes "_", so that a name can never lead out of the folder; its other characters are
// spelt in UTF-8.
std::string sessionFileName(const ClockTime& started, int system, std::string_view systemName,
                            std::string_view extension);

}  // namespace tiderune
