#include "session_files.h"

#include <cstdio>

#include "core/code_page.h"

namespace tiderune {

std::string sessionFileName(const ClockTime& t, int system, std::string_view systemName, std::string_view extension) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d", t.year % 10000, t.month % 100, t.day % 100,
                  t.hour % 100, t.minute % 100);
    std::string name = stamp;
    name += system == 1 ? std::string("-Prim-") : "-Sec" + std::to_string(system - 1) + "-";
    // The system name is the program's 8-bit text, while the file system's names are UTF-8
    // (as a file dialog hands them over): a name such as "Øst" is spelt so, or a dialog
    // could not show the log for a later replay. A "/" could lead out of the folder, and a
    // control character (a TAB, an ESC typed into the name) has no place in a file name:
    // each becomes "_".
    std::string safe(systemName);
    for (char& c : safe)
        if (c == '/' || isControlByte(c)) c = '_';
    appendTextAsUtf8(name, safe);
    name += extension;
    return name;
}

}  // namespace tiderune
