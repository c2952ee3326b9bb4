#pragma once
// Small helpers shared by the core's tests: a sink that keeps every notice, and reading a
// whole file as its bytes.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/notices.h"

namespace tiderune::test_support {

class NoticeLog : public NoticeSink {
public:
    void notice(const Notice& n) override { seen.push_back(n); }
    std::vector<Notice> seen;
};

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace tiderune::test_support
