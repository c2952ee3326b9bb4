#pragma once
// The two recordings the generator makes: a realistic one-hour session of a moored vessel's
// sensors (the bundled demo), and a large mix of every recognised sentence type for the
// benchmarks. Both are deterministic: the same options give the same lines, byte for byte.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tiderune::nmeagen {

// Receives each line of a recording, without its line end.
using LineSink = std::function<void(std::string_view line)>;

struct DemoOptions {
    std::uint64_t seed = 7;
    int durationSeconds = 3600;
    // 2026-06-15 08:00:00 UTC.
    double startTime = 1781510400.0;
    // Seconds between the GSV groups of the four constellations.
    int gsvIntervalSeconds = 5;
};
void generateDemo(const DemoOptions& options, const LineSink& sink);

// The bridge's navigation lines of a demo session: GNSS GLL, VTG and ZDA, gyro HDT and ROT,
// nothing else (the second demo, seed 11 by default).
inline constexpr std::uint64_t NavigationSeed = 11;
void generateNavigation(const DemoOptions& options, const LineSink& sink);

// The satellites in view alone: the demo session's GSV groups of its four constellations,
// one epoch each second and nothing else (for the sky plot's benchmarks).
void generateSatellitesInView(const DemoOptions& options, const LineSink& sink);

// A busy port approach: 500 AIS stations, about 200 messages a second, a GGA fix each second
// and 20 radar targets every 3 s (seed 5 by default).
struct PortOptions {
    std::uint64_t seed = 5;
    int durationSeconds = 3600;
    // 2026-06-15 08:00:00 UTC.
    double startTime = 1781510400.0;
};
void generatePort(const PortOptions& options, const LineSink& sink);

struct StressOptions {
    std::uint64_t seed = 7;
    std::size_t lineCount = 1'000'000;
    double tagBlockShare = 0.08;     // lines preceded by a tag block
    double badChecksumShare = 0.02;  // lines whose checksum is wrong
    double unknownShare = 0.01;      // sentences of types the program does not read
};
void generateStress(const StressOptions& options, const LineSink& sink);
std::vector<std::string> stressLines(const StressOptions& options);

}  // namespace tiderune::nmeagen
