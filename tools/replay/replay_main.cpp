// tiderune-replay [--checksum] FILE: prints, per line of FILE, what the intake made of it.
#include <cstring>
#include <fstream>
#include <iostream>

#include "replay_dump.h"

namespace {

constexpr const char* Usage =
    "usage: tiderune-replay [--checksum] FILE\n"
    "  prints, per line of FILE, what the intake made of it\n"
    "  --checksum  refuse sentences whose checksum is missing or wrong\n";

}  // namespace

int main(int argc, char** argv) {
    tiderune::replay::Options options;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << Usage;
            return 0;
        }
        if (std::strcmp(argv[i], "--checksum") == 0) {
            options.checksumTest = true;
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::cerr << "tiderune-replay: unknown option " << argv[i] << "\n" << Usage;
            return 2;
        } else if (!path) {
            path = argv[i];
        } else {
            std::cerr << "tiderune-replay: one FILE only\n" << Usage;
            return 2;
        }
    }
    if (!path) {
        std::cerr << Usage;
        return 2;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "tiderune-replay: cannot open " << path << "\n";
        return 1;
    }
    tiderune::replay::replay(in, std::cout, options);
    return 0;
}
