// tiderune-replay [--checksum] FILE: prints, per line of FILE, what the intake made of it.
#include <cstring>
#include <fstream>
#include <iostream>

#include "replay_dump.h"

int main(int argc, char** argv) {
    tiderune::replay::Options options;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--checksum") == 0) options.checksumTest = true;
        else if (!path) path = argv[i];
        else path = nullptr, i = argc;
    }
    if (!path) {
        std::cerr << "usage: tiderune-replay [--checksum] FILE\n";
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
