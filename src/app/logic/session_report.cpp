#include "session_report.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>

#include "core/code_page.h"
#include "core/epoch_time.h"
#include "core/errors.h"
#include "core/geodetic.h"
#include "core/latlon_text.h"
#include "core/number_text.h"
#include "core/records.h"
#include "session_files.h"

namespace tiderune {

ReportWriter& ReportWriter::operator<<(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endLine();
        } else {
            out_.push_back(c);
        }
    }
    return *this;
}

ReportWriter& ReportWriter::tab(int column) {
    const auto at = static_cast<long long>(out_.size() - lineStart_) + 1;
    out_.append(at < column ? static_cast<std::size_t>(column - at) : at > column ? 1 : 0, ' ');
    return *this;
}

ReportWriter& ReportWriter::number(long long value) {
    *this << StrNumber(value) << " ";
    return *this;
}

ReportWriter& ReportWriter::endLine() {
    out_ += "\r\n";
    lineStart_ = out_.size();
    return *this;
}

ReportWriter& ReportWriter::separator() {
    out_.append(60, '-');
    return endLine();
}

ReportWriter& ReportWriter::verbatim(std::string_view bytes) {
    verbatim_.emplace_back(out_.size(), bytes.size());
    out_ += bytes;
    return *this;
}

std::string ReportWriter::utf8() const {
    std::string out;
    out.reserve(out_.size() + out_.size() / 8);
    const std::string_view text = out_;
    std::size_t i = 0;
    for (const auto& [at, size] : verbatim_) {
        appendTextAsUtf8(out, text.substr(i, at - i));
        appendFileNameAsUtf8(out, text.substr(at, size));
        i = at + size;
    }
    appendTextAsUtf8(out, text.substr(i));
    return out;
}

namespace {

constexpr double DegreesPerRadian = 57.29577951307855;

// "hh:mm:ss  dd mmm yyyy", rounded to the second once so that time and date agree.
std::string timeAndDate(double dateTime) {
    const long long secs = std::llround(dateTime * 86400.0);
    const long long days = secs >= 0 ? secs / 86400 : -((-secs + 86399) / 86400);
    const double whole = static_cast<double>(days);
    return std::string(formatClock(whole + static_cast<double>(secs - days * 86400) / 86400.0).view()) + "  " +
           formatDayMonthYear(whole);
}

std::string dms(double radians, const char* kind) {
    if (radians == MissingValueD) return "n/a";
    return FormatDMSCompact(radians * DegreesPerRadian, kind, "FORM", 3);
}

std::string metres(double value) { return value == MissingValueD ? "n/a" : FormatNumber(value, "0.00 m"); }

// The row labels are honoured: a fine row holds ten of the table's 0.01 m bins, a coarse row
// fifty. The table keeps no detail beyond 10 m, so the rows end at 10 m and its overflow bin
// is the last row, labelled for what it holds.
void distributionRows(ReportWriter& w, const PercentileTable& table) {
    const auto& counts = table.counts();
    const long long total = counts[0];
    // A table without samples has no shares to print (the horizontal deviation may have
    // samples while the heights are all missing).
    if (total <= 0) return;
    long long accumulated = 0;
    const auto row = [&](long long fixes) {
        accumulated += fixes;
        const double share = static_cast<double>(accumulated) / static_cast<double>(total);
        w.tab(15) << FormatRight(static_cast<double>(fixes), "######0");
        w.tab(25) << FormatRight(share, "##0.0 %");
        w.endLine();
        return share >= 0.99999;
    };
    const auto bins = [&](int from, int to) {
        long long n = 0;
        for (int i = from; i <= to; ++i) n += counts[static_cast<std::size_t>(i)];
        return n;
    };
    const auto label = [&](double from, double to) {
        w << FormatNumber(from, "#0.0") << "-" << FormatNumber(to, "#0.0 m");
    };
    bool stopped = false;
    for (int k = 1; k <= 20 && !stopped; ++k) {
        label((k - 1) / 10.0, k / 10.0);
        stopped = row(bins(10 * (k - 1) + 1, 10 * k));
    }
    for (int j = 25; j <= 100 && !stopped; j += 5) {
        label((j - 5) / 10.0, j / 10.0);
        stopped = row(bins(10 * (j - 5) + 1, 10 * j));
    }
    const long long beyond = counts[PercentileTable::Bins];
    if (beyond > 0) {
        w.tab(5) << ">10 m";
        row(beyond);
    }
}

void distributionHeading(ReportWriter& w, const char* title) {
    w.endLine() << title;
    w.endLine().endLine() << "Interval";
    w.tab(15) << "No of fix";
    w.tab(25) << "Accumulated percent";
    w.endLine().endLine();
}

// One row of the four blocks (horizontal, north, east, height) at the columns of the heading.
template <typename Value>
void blockRow(ReportWriter& w, const char* name, const IndexedArray<StatBlock, 0, 9>& blocks, Value value) {
    w << name;
    const int columns[] = {10, 22, 34, 46};
    for (int b = 0; b < 4; ++b) w.tab(columns[b]) << FormatRight(value(blocks[b]), "#0.00 m");
    w.endLine();
}

void levelRow(ReportWriter& w, const char* name, const IndexedArray<StatBlock, 0, 9>& blocks, bool p95) {
    const auto level = [&](int b) {
        const PercentileTable& t = blocks[b].percentiles;
        return static_cast<double>(p95 ? t.p95() : t.p68());
    };
    w << name;
    w.tab(11) << FormatRight(level(0), "#0.0 m");
    const int columns[] = {20, 32, 44};
    for (int b = 1; b < 4; ++b) w.tab(columns[b - 1]) << "+/-" << FormatRight(level(b), "#0.00 m");
    w.endLine();
}

}  // namespace

namespace {

ReportWriter sessionReport(const CoreState& state, int system) {
    if (!isValidSystem(system)) throwSubscriptOutOfRange();
    const Config& cfg = state.config;
    const SystemSetup& sys = cfg.Systems[system];
    const SystemStatistics& stats = state.analysis.statistics(system);
    const auto& gga = stats.GGAStats;
    const StatBlock& horizontal = gga[0];
    const bool offline = cfg.Mode == "OFFLINE";

    ReportWriter w;
    w.separator() << "Summary of Tiderune session : " << sys.Name;
    w.endLine().endLine();
    if (offline) {
        w << "OFFLINE MODE, analysed file : ";
        // The name as the file system has it (a dialog's choice in UTF-8, or an older setup
        // file's bytes), not the program's text.
        w.endLine().verbatim(sys.OfflineFile);
        w.endLine().endLine();
    }
    w.separator() << cfg.SessionInfo;
    w.endLine().separator().endLine();

    w << "Start at " << horizontal.record.firstTime << "    ";
    if (!offline) w << horizontal.record.firstDate;
    w.endLine() << "Stop at  " << horizontal.record.lastTime << "    ";
    if (!offline) w << formatDayMonthYear(state.SentenceDate[system]);
    w.endLine().endLine() << "Number of accepted readings ";
    w.number(horizontal.record.count).endLine() << "Number of rejected readings ";
    w.number(horizontal.missing.count).endLine().endLine().separator().endLine().endLine();

    const int mode = cfg.ReferenceMode[system];
    w << "Reference position : "
      << (mode == 0 ? " First sample" : mode == 1 ? " Average over time" : mode == 2 ? " True position" : "");
    w.endLine();
    if (mode != 1) {
        w << " Latitude  :  " << dms(cfg.ReferenceLat[system], "LAT");
        w.endLine() << " Longitude : " << dms(cfg.ReferenceLon[system], "LON");
        w.endLine() << " Ellipsoidal Height :" << metres(cfg.ReferenceHeight[system]);
        w.endLine();
    }

    const double meanLat = stats.LatitudeStats.mean, meanLon = stats.LongitudeStats.mean;
    float sdNorth = 0, sdEast = 0, unused = 0;
    DeltaNE_Ellipsoid(meanLat, meanLon, meanLat + stats.LatitudeStats.standardDeviation, meanLon, sdNorth, unused,
                      Wgs84SemiMajorAxis, Wgs84EccentricitySquared);
    DeltaNE_Ellipsoid(meanLat, meanLon, meanLat, meanLon + stats.LongitudeStats.standardDeviation, unused, sdEast,
                      Wgs84SemiMajorAxis, Wgs84EccentricitySquared);
    w.separator() << "Average position";
    w.endLine() << " Latitude  :  " << dms(meanLat, "LAT");
    w.tab(30) << "   Sd " << metres(sdNorth);
    w.endLine() << " Longitude : " << dms(meanLon, "LON");
    w.tab(30) << "   Sd " << metres(sdEast);
    w.endLine() << " Ellipsoidal Height :" << metres(stats.HeightStats.mean);
    w.tab(30) << "   Sd " << metres(stats.HeightStats.standardDeviation);
    w.endLine().separator().endLine() << "Statistic deviation from reference position ";
    w.endLine().endLine().tab(7) << "Horisontal";
    w.tab(21) << "dNorthing";
    w.tab(33) << "dEasting";
    w.tab(45) << "dHeight";
    w.endLine();

    blockRow(w, "Mean", gga, [](const StatBlock& b) { return static_cast<double>(b.record.mean); });
    blockRow(w, "Sdev", gga, [](const StatBlock& b) { return static_cast<double>(b.record.standardDeviation); });
    w.separator();
    blockRow(w, "Max", gga, [](const StatBlock& b) { return static_cast<double>(b.record.maximum); });
    blockRow(w, "Min", gga, [](const StatBlock& b) { return static_cast<double>(b.record.minimum); });
    w.separator();
    levelRow(w, "68%", gga, false);
    levelRow(w, "95%", gga, true);
    w.separator();
    if (horizontal.record.count == 0) return w;

    distributionHeading(w, "Distribution of horisontal deviation");
    distributionRows(w, horizontal.percentiles);
    w.separator();
    distributionHeading(w, "Distribution of height deviation");
    distributionRows(w, gga[3].percentiles);
    w.endLine().separator().endLine();
    if (offline) {
        w << "Processing start at " << timeAndDate(state.run.ProcessingStart);
        w.endLine() << "       completed at " << timeAndDate(state.run.ProcessingEnd);
        w.endLine().endLine().separator().endLine();
    }
    return w;
}

}  // namespace

std::string sessionReportText(const CoreState& state, int system) { return sessionReport(state, system).text(); }

namespace {

struct ReportFailure {
    std::string description;
};

void writeWhole(const std::filesystem::path& path, const std::string& text) {
    const std::string part = path.string() + ".part";
    std::FILE* f = std::fopen(part.c_str(), "wb");
    if (!f) throw ReportFailure{"The report " + fileNameText(path.string()) + " could not be made : " + std::strerror(errno)};
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fflush(f) == 0 && ok;
    int reason = ok ? 0 : errno;
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        reason = errno;
    }
    // The whole report is in place under its own name, or nothing is.
    if (ok && std::rename(part.c_str(), path.c_str()) != 0) {
        ok = false;
        reason = errno;
    }
    if (!ok) {
        std::remove(part.c_str());
        throw ReportFailure{"The report " + fileNameText(path.string()) + " could not be written : " + std::strerror(reason)};
    }
}

}  // namespace

bool PrintReport(const CoreState& state, int system, const AppFolder& folder, const Clock& clock,
                 MessageBoxes& boxes) {
    std::string failure;
    std::filesystem::path path;
    try {
        // People read the report, in editors and terminals that expect UTF-8.
        const std::string text = sessionReport(state, system).utf8();
        std::string reason;
        if (!ensureFolder(folder.reportsFolder(), &reason))
            throw ReportFailure{"The folder " + fileNameText(folder.reportsFolder().string()) + " could not be made : " + reason};
        path = folder.reportsFolder() / sessionFileName(clock.now(), system, state.config.Systems[system].Name, ".txt");
        writeWhole(path, text);
    } catch (const ReportFailure& e) {
        failure = e.description;
    } catch (const RuntimeError& e) {
        failure = e.description();
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (!failure.empty()) {
        boxes.show({failure + "(SUB: Print_Report)", {}, MessageButtons::Ok, MessageIcon::None, MessageAnswer::Ok});
        return false;
    }
    boxes.show({"Statistics summary printed to text file : " + fileNameText(path.string()), {}, MessageButtons::Ok,
                MessageIcon::None, MessageAnswer::Ok});
    return true;
}

}  // namespace tiderune
