// Lines per second through ProcessSentence with the checksum test on: with no type analysed
// (intake and parsers alone), with every type analysed and the statistics running, and the
// same with a statistics window open that reads every level of the sentence's type.
//   tiderune-bench-intake            a generated mix of 1,200,000 lines of every recognised
//                                    type, with tag blocks and some bad checksums
//   tiderune-bench-intake FILE...    the lines of recorded files without their line ends (as
//                                    the replay hands them on), repeated to at least 1,000,000
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "ais/ais_engine.h"
#include "core/core_sink.h"
#include "core/core_state.h"
#include "core/intake.h"
#include "core/parsers.h"
#include "core/processing.h"

using namespace tiderune;

namespace {

class Random {
public:
    std::uint32_t next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state_ >> 33);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    double uniform(double lo, double hi) { return lo + (hi - lo) * (next() / 4294967296.0); }

private:
    std::uint64_t state_ = 20240611;
};

std::string fmt(const char* f, auto... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, f, args...);
    return buf;
}

std::string sentenceOfType(int type, Random& r, int second) {
    const int hh = second / 3600 % 24, mm = second / 60 % 60, ss = second % 60;
    // ddmm.mmmmm and dddmm.mmmmm: 59 N and 10 E, minutes below 60.
    const double lat = 5900 + r.uniform(0, 59.99), lon = 1000 + r.uniform(0, 59.99);
    switch (type) {
    case 0: return fmt("$GPGGA,%02d%02d%02d.00,%.5f,N,%011.5f,E,%d,%02d,%.1f,%.2f,M,38.2,M,%s,%s", hh, mm, ss, lat, lon,
                       1 + r.below(2), 5 + r.below(10), r.uniform(0.5, 2), r.uniform(10, 50),
                       r.below(2) ? "" : "2.0", r.below(2) ? "" : "0042");
    case 1: return fmt("$GNGNS,%02d%02d%02d.00,%.5f,N,%011.5f,E,AAN,%02d,%.1f,%.2f,38.2,,", hh, mm, ss, lat, lon,
                       5 + r.below(10), r.uniform(0.5, 2), r.uniform(10, 50));
    case 2: return fmt("$GPGLL,%.5f,N,%011.5f,E,%02d%02d%02d.00,A,A", lat, lon, hh, mm, ss);
    case 3: return fmt("$GPRMC,%02d%02d%02d.00,A,%.5f,N,%011.5f,E,%.2f,%.1f,110624,3.1,E,A", hh, mm, ss, lat, lon,
                       r.uniform(0, 12), r.uniform(0, 360));
    case 4: return fmt("$GPZDA,%02d%02d%02d.00,11,06,2024,00,00", hh, mm, ss);
    case 5: return fmt("$GPVTG,%.1f,T,%.1f,M,%.2f,N,%.2f,K,A", r.uniform(0, 360), r.uniform(0, 360), r.uniform(0, 12),
                       r.uniform(0, 22));
    case 6: return fmt("$GPGSA,A,3,%02d,%02d,%02d,%02d,%02d,,,,,,,,%.1f,%.1f,%.1f", 1 + r.below(32), 1 + r.below(32),
                       1 + r.below(32), 1 + r.below(32), 1 + r.below(32), r.uniform(1, 3), r.uniform(0.5, 2),
                       r.uniform(1, 3));
    case 7: return fmt("$GPGST,%02d%02d%02d.00,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f", hh, mm, ss, r.uniform(0, 5),
                       r.uniform(0, 5), r.uniform(0, 5), r.uniform(0, 180), r.uniform(0, 5), r.uniform(0, 5),
                       r.uniform(0, 9));
    case 8: return fmt("$GPGSV,3,%d,11,%02d,%02d,%03d,%02d,%02d,%02d,%03d,%02d,%02d,%02d,%03d,%02d,%02d,%02d,%03d,", 1 + r.below(3),
                       1 + r.below(32), r.below(90), r.below(360), r.below(50), 1 + r.below(32), r.below(90),
                       r.below(360), r.below(50), 1 + r.below(32), r.below(90), r.below(360), r.below(50),
                       1 + r.below(32), r.below(90), r.below(360));
    case 9: return fmt("$HEHDT,%.2f,T", r.uniform(0, 360));
    case 10: return fmt("$PFEC,GPatt,%.1f,%.1f,%.1f", r.uniform(0, 360), r.uniform(-5, 5), r.uniform(-5, 5));
    case 11: return fmt("$TIROT,%.1f,A", r.uniform(-30, 30));
    case 12: return fmt("$VWVHW,%.1f,T,%.1f,M,%.2f,N,%.2f,K", r.uniform(0, 360), r.uniform(0, 360), r.uniform(0, 12),
                        r.uniform(0, 22));
    case 13: return fmt("$SDDBT,%.1f,f,%.1f,M,%.1f,F", r.uniform(0, 300), r.uniform(0, 90), r.uniform(0, 50));
    case 14: return fmt("$RATTM,%02d,%.2f,%.1f,T,%.1f,%.1f,T,%.2f,%.1f,N,TGT%d,T,,%02d%02d%02d.00,A", r.below(100),
                        r.uniform(0, 12), r.uniform(0, 360), r.uniform(0, 20), r.uniform(0, 360), r.uniform(0, 3),
                        r.uniform(-30, 30), r.below(100), hh, mm, ss);
    default: return r.below(2) ? "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0" : "!AIVDO,1,1,,B,15M67FC000G?ufbE`FepT@3n00Sa,0";
    }
}

std::vector<std::string> generate(std::size_t count) {
    Random r;
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string body = sentenceOfType(static_cast<int>(i % 16), r, static_cast<int>(i / 16));
        std::string line;
        if (r.below(10) == 0) line = fmt("\\s:r%06d,c:%d*00\\", r.below(1000000), 1718000000 + static_cast<int>(i));
        line += body;
        line += '*';
        line += CalcChecksum(body);
        if (r.below(50) == 0) line[line.size() - 1] = line.back() == '0' ? '1' : '0';  // a bad checksum
        line += "\r\n";
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> readFiles(int argc, char** argv) {
    std::vector<std::string> one;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot open %s\n", argv[i]);
            continue;
        }
        std::string line;
        // Replayed lines carry no line end.
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            one.push_back(line);
        }
    }
    std::vector<std::string> lines;
    if (one.empty()) return lines;
    while (lines.size() < 1000000) lines.insert(lines.end(), one.begin(), one.end());
    return lines;
}


// Reads what a statistics window shows of the sentence's type after each sentence: the
// levels of every block (the part of the statistics that is worked out when read).
class WindowReadingSink final : public CoreSink {
public:
    explicit WindowReadingSink(const CoreState& state) : state_(state) {}
    void updateStatisticsWindow(int system, SentenceType type) override {
        const SystemStatistics& s = state_.analysis.statistics(system);
        switch (type) {
        case SentenceType::GGA: read(s.GGAStats); break;
        case SentenceType::GNS: read(s.GNSStats); break;
        case SentenceType::GLL: read(s.GLLStats); break;
        case SentenceType::RMC: read(s.RMCStats); break;
        case SentenceType::VTG: read(s.VTGStats); break;
        case SentenceType::HDT: read(s.HDTStats); break;
        case SentenceType::ATT: read(s.ATTStats); break;
        case SentenceType::ROT: read(s.ROTStats); break;
        case SentenceType::VHW: read(s.VHWStats); break;
        case SentenceType::DBT: read(s.DBTStats); break;
        case SentenceType::GSA: read(s.GSAStats); break;
        case SentenceType::GST: read(s.GSTStats); break;
        case SentenceType::GSV:
            readSnr(s.GSVStats);
            for (const auto& b : s.GPSSNRStats) readSnr(b);
            for (const auto& b : s.SBASSNRStats) readSnr(b);
            for (const auto& b : s.GLONASSSNRStats) readSnr(b);
            for (const auto& b : s.BeiDouSNRStats) readSnr(b);
            break;
        default: break;
        }
    }
    double total = 0;

private:
    template <typename Table>
    void read(const Table& t) {
        for (const StatBlock& b : t) total += b.percentiles.p68() + b.percentiles.p95();
    }
    void readSnr(const SNRStatBlock& b) {
        if (b.record.count > 0) total += b.percentiles.level68() + b.percentiles.level95();
    }
    const CoreState& state_;
};

enum class Setup { NothingAnalysed, EveryTypeAnalysed, StatisticsWindowOpen };

// What one pass over the lines counted (every pass sees the same lines, so the same counts).
struct PassCounts {
    long long errors = 0;
    std::int32_t rejected = 0;
};

double measure(const std::vector<std::string>& lines, Setup setup, PassCounts& counts) {
    auto state = std::make_unique<CoreState>();
    state->config.Mode = "OFFLINE";
    state->config.OutlierLimit = 15;
    for (int s = 1; s <= 4; ++s) {
        state->config.Systems[s].InUse = true;
        for (SentenceType t : AllSentenceTypes) state->config.Systems[s].analysed(t) = setup != Setup::NothingAnalysed;
        state->config.ChecksumTest[s] = true;
        state->config.WindowVisible[s][VisibleForms::Statistics] = setup == Setup::StatisticsWindowOpen;
    }
    WindowReadingSink sink(*state);
    AisEngine ais(sink, [&st = *state](int s) { return st.EpochTime[s]; });

    double best = 0;
    for (int round = 0; round < 5; ++round) {
        for (int s = 1; s <= 4; ++s) ResetSystemStatistics(*state, s);
        const std::int32_t rejectedBefore = state->ChecksumRejected[1];
        long long errors = 0;
        const auto start = std::chrono::steady_clock::now();
        for (const std::string& line : lines) {
            try {
                ProcessSentence(*state, sink, ais, 1, line);
            } catch (const RuntimeError&) {
                ++errors;
            }
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = std::max(best, static_cast<double>(lines.size()) / seconds);
        counts = {errors, state->ChecksumRejected[1] - rejectedBefore};
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> lines = argc > 1 ? readFiles(argc, argv) : generate(1200000);
    if (lines.empty()) return 1;

    const struct {
        Setup setup;
        const char* name;
    } setups[] = {
        {Setup::NothingAnalysed, "no type analysed"},
        {Setup::EveryTypeAnalysed, "every type analysed, statistics running"},
        {Setup::StatisticsWindowOpen, "every type analysed, statistics window reading its levels"},
    };
    for (const auto& s : setups) {
        PassCounts counts;
        const double rate = measure(lines, s.setup, counts);
        std::printf("intake, %s: %zu lines, best of 5 rounds: %.0f lines/s (per round: checksum rejected %d, errors %lld)\n",
                    s.name, lines.size(), rate, counts.rejected, counts.errors);
    }
    return 0;
}
