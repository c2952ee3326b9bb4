#include "session_files.h"

#include <cstdio>

namespace tiderune {

std::string sessionFileName(const ClockTime& t, int system, std::string_view systemName, std::string_view extension) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d", t.year % 10000, t.month % 100, t.day % 100,
                  t.hour % 100, t.minute % 100);
    std::string name = stamp;
    name += system == 1 ? std::string("-Prim-") : "-Sec" + std::to_string(system - 1) + "-";
    for (char c : systemName) name += (c == '/' || c == '\0') ? '_' : c;
    name += extension;
    return name;
}

}  // namespace tiderune
