#pragma once
// What the process holds in memory now, for figures of what a fill costs.
#include <fstream>
#include <string>

namespace tiderune::bench {

// The resident set in KiB, 0 where /proc does not tell it.
inline long residentKiB() {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

}  // namespace tiderune::bench
