// tiderune-gen: writes the demo recording or the benchmark mix.
//   tiderune-gen --demo FILE [--seed N] [--seconds N]
//   tiderune-gen --nav FILE [--seed N] [--seconds N]
//   tiderune-gen --stress N FILE [--seed N]
//   tiderune-gen --port FILE [--seed N] [--seconds N]
//   tiderune-gen --gsv FILE [--seed N] [--seconds N]
// Lines end with CR LF, as receivers send them.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "nmeagen/generators.h"

namespace {

int usage() {
    std::cerr << "usage: tiderune-gen --demo FILE [--seed N] [--seconds N]\n"
                 "       tiderune-gen --nav FILE [--seed N] [--seconds N]\n"
                 "       tiderune-gen --stress N FILE [--seed N]\n"
                 "       tiderune-gen --port FILE [--seed N] [--seconds N]\n"
                 "       tiderune-gen --gsv FILE [--seed N] [--seconds N]\n";
    return 2;
}

bool readNumber(const char* text, unsigned long long& out) {
    char* end = nullptr;
    out = std::strtoull(text, &end, 10);
    return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tiderune::nmeagen;
    std::string mode, path;
    unsigned long long count = 0, seed = 7, seconds = 3600;
    bool seedGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--demo" || arg == "--nav" || arg == "--port" || arg == "--gsv") && i + 1 < argc) {
            mode = arg.substr(2);
            path = argv[++i];
        } else if (arg == "--stress" && i + 2 < argc) {
            mode = "stress";
            if (!readNumber(argv[++i], count))
                return usage();
            path = argv[++i];
        } else if (arg == "--seed" && i + 1 < argc) {
            if (!readNumber(argv[++i], seed))
                return usage();
            seedGiven = true;
        } else if (arg == "--seconds" && i + 1 < argc) {
            if (!readNumber(argv[++i], seconds) || seconds == 0 || seconds > 86400 * 7)
                return usage();
        } else {
            return usage();
        }
    }
    if (mode.empty())
        return usage();

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        std::cerr << "tiderune-gen: cannot write " << path << "\n";
        return 1;
    }
    std::size_t lines = 0;
    const LineSink sink = [&](std::string_view line) {
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
        out.write("\r\n", 2);
        ++lines;
    };
    if (mode == "demo" || mode == "nav" || mode == "gsv") {
        DemoOptions o;
        if (mode == "nav")
            o.seed = NavigationSeed;
        if (seedGiven)
            o.seed = seed;
        o.durationSeconds = static_cast<int>(seconds);
        if (mode == "nav")
            generateNavigation(o, sink);
        else if (mode == "gsv")
            generateSatellitesInView(o, sink);
        else
            generateDemo(o, sink);
    } else if (mode == "port") {
        PortOptions o;
        if (seedGiven)
            o.seed = seed;
        o.durationSeconds = static_cast<int>(seconds);
        generatePort(o, sink);
    } else {
        StressOptions o;
        if (seedGiven)
            o.seed = seed;
        o.lineCount = count;
        generateStress(o, sink);
    }
    out.close();
    if (!out) {
        std::cerr << "tiderune-gen: writing " << path << " failed\n";
        return 1;
    }
    std::cerr << "tiderune-gen: " << lines << " lines written to " << path << "\n";
    return 0;
}
