// The conversions every shown text goes through: toQt for a monitor line (80 bytes, ASCII and
// with the code page's letters), a grid cell (8 bytes), typed text back, and a 4 KB report into
// UTF-8. QString::fromLatin1 is the yardstick: the conversion the windows used before.
#include <benchmark/benchmark.h>

#include <QString>
#include <string>

#include "core/code_page.h"
#include "platform/qt/qt_edge.h"

using namespace tiderune;

namespace {

const std::string Line = "$GPGGA,120001.00,5925.1238,N,01029.5876,E,2,12,0.8,6.3,M,40.1,M,1.0,0123*4F";
const std::string Letters = "$GPTXT,01,01,02,H\xF8yde 59\xB0 \x80 \x93quoted\x94 \x96 dash\xE6\xF8\xE5 and more text*00";
const std::string Cell = "  12.345";

void ToQtOld(benchmark::State& s, const std::string& text) {
    for (auto _ : s) benchmark::DoNotOptimize(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    s.SetBytesProcessed(static_cast<std::int64_t>(s.iterations() * text.size()));
}
void ToQtNew(benchmark::State& s, const std::string& text) {
    for (auto _ : s) benchmark::DoNotOptimize(toQt(text));
    s.SetBytesProcessed(static_cast<std::int64_t>(s.iterations() * text.size()));
}
BENCHMARK_CAPTURE(ToQtOld, line, Line);
BENCHMARK_CAPTURE(ToQtNew, line, Line);
BENCHMARK_CAPTURE(ToQtOld, letters, Letters);
BENCHMARK_CAPTURE(ToQtNew, letters, Letters);
BENCHMARK_CAPTURE(ToQtOld, cell, Cell);
BENCHMARK_CAPTURE(ToQtNew, cell, Cell);

void FromQt(benchmark::State& s) {
    const QString typed = toQt(Letters);
    for (auto _ : s) benchmark::DoNotOptimize(fromQt(typed));
}
BENCHMARK(FromQt);

void ReportToUtf8(benchmark::State& s) {
    std::string report;
    while (report.size() < 4096) report += " Latitude  :  59\xB0" "25'07.428\"N   Sd 0.12 m\r\n";
    for (auto _ : s) {
        std::string out;
        appendTextAsUtf8(out, report);
        benchmark::DoNotOptimize(out);
    }
    s.SetBytesProcessed(static_cast<std::int64_t>(s.iterations() * report.size()));
}
BENCHMARK(ReportToUtf8);

}  // namespace

BENCHMARK_MAIN();
