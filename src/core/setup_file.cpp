#include "setup_file.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <utility>

#include <sys/stat.h>

#include "code_page.h"
#include "errors.h"
#include "setup_file_format.h"

namespace tiderune {

namespace {

// The section headers, in the order the file is written.
constexpr std::array<std::string_view, 20> Headers = {
    "REM Mode",
    "REM Systems",
    "REM Comports",
    "REM Comports, extended to 16",
    "REM TCP/IP",
    "REM IP List",
    "REM Base data",
    "REM Reference positions & heading",
    "REM Reference pitch & roll",
    "REM Checksum Test",
    "REM Emptybuffer",
    "REM Set time from PC",
    "REM Not display dGPS timeserie",
    "REM Visibleform",
    "REM NMEA Messages to analyse",
    "REM Session info",
    "REM Visibleform SNR",
    "REM Visible SNR Timeseries",
    "REM UDP",
    "REM LatLon Format",
};

constexpr int FirstExtendedPort = 11;  // ports 1-10 and 11-16 are two sections
constexpr int MaxIPList = 10;

// The window words of "REM Visibleform", in the order of each system's line.
constexpr std::array<int, 6> VisibleFormWords = {
    VisibleForms::Numerics,    VisibleForms::Statistics, VisibleForms::Skyplot,
    VisibleForms::ARPATargets, VisibleForms::AISTargets, VisibleForms::NMEAMonitor,
};

// ---- writing ----------------------------------------------------------------------------

void writeHeader(SetupFileWriter& w, int section) {
    w.text(Headers[static_cast<std::size_t>(section - 1)]);
    w.endLine();
}

void writeComports(SetupFileWriter& w, const Config& c, int first, int last) {
    for (int p = first; p <= last; ++p) {
        const ComportSetting& port = c.Comports[p];
        w.integer(port.AssignedSystem);
        w.integer(port.Baud);
        w.integer(port.DataBits);
        w.text(port.Parity);
        w.integer(port.StopBits);
        w.endLine();
    }
}

void writeSwitches(SetupFileWriter& w, const PerSystem<bool>& flags) {
    for (int s = 1; s <= MaxSystems; ++s) w.boolean(flags[s]);
    w.endLine();
}

// ---- reading ----------------------------------------------------------------------------
//
// Values that later pick a table entry are checked before they are stored. A system, COM
// port or reference option outside its table, and an address count outside the IP list,
// make the file damaged ("Subscript out of range"): nothing says what was meant. Settings
// whose own limits are plain (the elevation mask 0-89, 0-5 lat/lon decimals, 0-32 SNR series
// in 1-3 columns) are clamped into those limits instead.

[[noreturn]] void damaged() { throwSubscriptOutOfRange(); }

std::int16_t readIndex(SetupFileReader& r, int lo, int hi) {
    const std::int16_t v = r.readInteger();
    if (v < lo || v > hi) damaged();
    return v;
}

std::int16_t readClamped(SetupFileReader& r, int lo, int hi) {
    return static_cast<std::int16_t>(std::clamp<int>(r.readInteger(), lo, hi));
}

void readComports(SetupFileReader& r, Config& c, int first, int last) {
    for (int p = first; p <= last; ++p) {
        ComportSetting& port = c.Comports[p];
        port.AssignedSystem = readIndex(r, 0, MaxSystems);
        port.Baud = r.readLong();
        port.DataBits = r.readInteger();
        port.Parity = r.readText();
        port.StopBits = r.readInteger();
    }
}

void readSwitches(SetupFileReader& r, PerSystem<bool>& flags) {
    for (int s = 1; s <= MaxSystems; ++s) flags[s] = r.readBoolean();
}

void readSection(SetupFileReader& r, Config& c, int section) {
    switch (section) {
    case 1:
        c.Mode = r.readText();
        break;
    case 2:
        for (int s = 1; s <= MaxSystems; ++s) {
            SystemSetup& sys = c.Systems[s];
            sys.Name = r.readText();
            sys.Kind = r.readText();
            sys.ComPort = readIndex(r, 0, MaxComPorts);
            sys.InUse = r.readBoolean();
            sys.OfflineFile = r.readText();
        }
        break;
    case 3:
        readComports(r, c, 1, FirstExtendedPort - 1);
        break;
    case 4:
        readComports(r, c, FirstExtendedPort, MaxComPorts);
        break;
    case 5:
        for (int s = 1; s <= MaxSystems; ++s) {
            SystemSetup& sys = c.Systems[s];
            sys.UseTCP = r.readBoolean();
            sys.TCPHost = r.readText();
            sys.TCPPort = r.readLong();
        }
        break;
    case 6: {
        // More than ten addresses: the ten that fit are read, then the file is damaged.
        // The count is stored with its addresses, so a file that ends inside the list
        // leaves the list as it was rather than a count over stale or empty entries.
        const std::int16_t count = r.readInteger();
        if (count < 0) damaged();
        const int taken = std::min<int>(count, MaxIPList);
        std::array<std::string, MaxIPList> list;
        for (int i = 0; i < taken; ++i) list[static_cast<std::size_t>(i)] = r.readText();
        c.IPListCount = static_cast<std::int16_t>(taken);
        for (int i = 0; i < taken; ++i) c.IPList[i] = std::move(list[static_cast<std::size_t>(i)]);
        if (count > MaxIPList) damaged();
        break;
    }
    case 7:
        c.ElevationMask = readClamped(r, 0, 89);
        c.BaseDataFlag = r.readInteger();
        break;
    case 8:
        for (int s = 1; s <= MaxSystems; ++s) {
            c.ReferenceMode[s] = readIndex(r, 0, 2);
            c.ReferenceName[s] = r.readText();
            c.ReferenceLat[s] = r.readDouble();
            c.ReferenceLon[s] = r.readDouble();
            c.ReferenceHeight[s] = r.readSingle();
            c.ReferenceHeading[s] = r.readSingle();
        }
        break;
    case 9:
        for (int s = 1; s <= MaxSystems; ++s) {
            c.ReferencePitch[s] = r.readSingle();
            c.ReferenceRoll[s] = r.readSingle();
        }
        break;
    case 10:
        readSwitches(r, c.ChecksumTest);
        break;
    case 11:
        readSwitches(r, c.EmptyBuffer);
        break;
    case 12:
        readSwitches(r, c.SetTimeFromPC);
        break;
    case 13:
        readSwitches(r, c.NoDGPSChart);
        break;
    case 14:
        for (int s = 1; s <= MaxSystems; ++s)
            for (int word : VisibleFormWords) {
                const bool open = r.readBoolean();
                // Nothing opens a monitor from the file, so none is open after a load: a
                // monitor flag read as set would have the intake count the lines of a window
                // that is not there, and the monitor opened later would go on from that count.
                c.WindowVisible[s][word] = word == VisibleForms::NMEAMonitor ? false : open;
            }
        break;
    case 15:
        for (int slot = 1; slot <= SavedMessageSlots; ++slot)
            for (int s = 1; s <= MaxSystems; ++s) c.MessagesToAnalyse[s][slot] = r.readText();
        break;
    case 16:
        c.SessionInfo = r.readText();
        break;
    case 17:
        for (int s = 1; s <= MaxSystems; ++s)
            c.WindowVisible[s][VisibleForms::SNRStatistics] = r.readBoolean();
        break;
    case 18:
        for (int k = 1; k <= SNRConstellations; ++k) {
            // The count and the columns lay out the SNR window (the height of a chart is
            // divided by the rows); without any series shown the columns may stay 0. They
            // are stored together, so a file that ends or is damaged between them never
            // leaves a count without its columns.
            const std::int16_t count = readClamped(r, 0, SNRSeriesPerConstellation);
            const std::int16_t columns = readClamped(r, count > 0 ? 1 : 0, 3);
            c.SNRSeriesCount[k] = count;
            c.SNRSeriesColumns[k] = columns;
            for (int prn = 1; prn <= SNRSeriesPerConstellation; ++prn)
                c.SNRSeriesVisible[k][prn] = r.readBoolean();
        }
        break;
    case 19:
        for (int s = 1; s <= MaxSystems; ++s) {
            c.Systems[s].UseUDP = r.readBoolean();
            c.Systems[s].UDPPort = r.readLong();
        }
        break;
    case 20:
        c.LatLonFormatDMS = r.readBoolean();
        c.LatLonDecimals = readClamped(r, 0, 5);
        break;
    }
}

int sectionOf(std::string_view item) {
    for (std::size_t i = 0; i < Headers.size(); ++i)
        if (Headers[i] == item) return static_cast<int>(i) + 1;
    return 0;
}

}  // namespace

std::string SetupFileText(const Config& c) {
    SetupFileWriter w;

    writeHeader(w, 1);
    w.text(c.Mode);
    w.endLine();

    writeHeader(w, 2);
    for (int s = 1; s <= MaxSystems; ++s) {
        const SystemSetup& sys = c.Systems[s];
        w.text(sys.Name);
        w.text(sys.Kind);
        w.integer(sys.ComPort);
        w.boolean(sys.InUse);
        w.text(sys.OfflineFile);
        w.endLine();
    }

    writeHeader(w, 3);
    writeComports(w, c, 1, FirstExtendedPort - 1);
    writeHeader(w, 4);
    writeComports(w, c, FirstExtendedPort, MaxComPorts);

    writeHeader(w, 5);
    for (int s = 1; s <= MaxSystems; ++s) {
        const SystemSetup& sys = c.Systems[s];
        w.boolean(sys.UseTCP);
        w.text(sys.TCPHost);
        w.integer(sys.TCPPort);
        w.endLine();
    }

    writeHeader(w, 6);
    const int ipCount = std::clamp<int>(c.IPListCount, 0, MaxIPList);
    w.integer(ipCount);
    w.endLine();
    for (int i = 0; i < ipCount; ++i) {
        w.text(c.IPList[i]);
        w.endLine();
    }

    writeHeader(w, 7);
    w.integer(c.ElevationMask);
    w.integer(c.BaseDataFlag);
    w.endLine();

    writeHeader(w, 8);
    for (int s = 1; s <= MaxSystems; ++s) {
        w.integer(c.ReferenceMode[s]);
        w.text(c.ReferenceName[s]);
        w.dbl(c.ReferenceLat[s]);
        w.dbl(c.ReferenceLon[s]);
        w.single(c.ReferenceHeight[s]);
        w.single(c.ReferenceHeading[s]);
        w.endLine();
    }

    writeHeader(w, 9);
    for (int s = 1; s <= MaxSystems; ++s) {
        w.single(c.ReferencePitch[s]);
        w.single(c.ReferenceRoll[s]);
        w.endLine();
    }

    writeHeader(w, 10);
    writeSwitches(w, c.ChecksumTest);
    writeHeader(w, 11);
    writeSwitches(w, c.EmptyBuffer);
    writeHeader(w, 12);
    writeSwitches(w, c.SetTimeFromPC);
    writeHeader(w, 13);
    writeSwitches(w, c.NoDGPSChart);

    writeHeader(w, 14);
    for (int s = 1; s <= MaxSystems; ++s) {
        for (int word : VisibleFormWords) {
            // The monitor is never reopened at start-up; only the file says it was closed.
            w.boolean(word == VisibleForms::NMEAMonitor ? false : c.WindowVisible[s][word]);
        }
        w.endLine();
    }

    writeHeader(w, 15);
    for (int slot = 1; slot <= SavedMessageSlots; ++slot) {
        for (int s = 1; s <= MaxSystems; ++s) w.text(c.MessagesToAnalyse[s][slot]);
        w.endLine();
    }

    writeHeader(w, 16);
    w.text(c.SessionInfo);
    w.endLine();

    writeHeader(w, 17);
    for (int s = 1; s <= MaxSystems; ++s) {
        w.boolean(c.WindowVisible[s][VisibleForms::SNRStatistics]);
        w.endLine();
    }

    writeHeader(w, 18);
    for (int k = 1; k <= SNRConstellations; ++k) {
        w.integer(c.SNRSeriesCount[k]);
        w.integer(c.SNRSeriesColumns[k]);
        w.endLine();
        for (int prn = 1; prn <= SNRSeriesPerConstellation; ++prn) {
            w.boolean(c.SNRSeriesVisible[k][prn]);
            w.endLine();
        }
    }

    writeHeader(w, 19);
    for (int s = 1; s <= MaxSystems; ++s) {
        w.boolean(c.Systems[s].UseUDP);
        w.integer(c.Systems[s].UDPPort);
        w.endLine();
    }

    writeHeader(w, 20);
    w.boolean(c.LatLonFormatDMS);
    w.integer(c.LatLonDecimals);
    w.endLine();

    return w.bytes();
}

void SaveSetupFile(const Config& config, const std::string& path) {
    replaceFileAtomically(path, SetupFileText(config));
}

void ReadSetupText(Config& config, std::string bytes) {
    SetupFileReader reader(std::move(bytes));
    while (!reader.atEnd()) {
        const int section = sectionOf(reader.next().text);
        if (section != 0) readSection(reader, config, section);
    }
}

SetupLoad LoadSetupFile(Config& config, const std::string& path, NoticeSink& notices, SavedOver savedOver) {
    try {
        ReadSetupText(config, readSetupFileBytes(path));
        return {};
    } catch (const RuntimeError& e) {
        SetupLoad result{false, false};
        Notice n;
        if (e.number() == err::FileNotFound) {
            n.text = "Setup file do not exist. Default data loaded";
            n.icon = NoticeIcon::Information;
        } else {
            n.text = e.description() + " - Error in Setup file. Default data loaded";
            n.icon = NoticeIcon::Exclamation;
            // The program's own file will be saved over with the defaults (at the latest when
            // the program ends): what the user had is kept beside it first, and the message
            // says where.
            struct stat st {};
            if (savedOver == SavedOver::Yes && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
                try {
                    n.text += "\n\nThe file as it was is kept as " + fileNameText(keepCopyBeside(path));
                } catch (const RuntimeError& keep) {
                    n.text += "\n\nNo copy of the file could be kept (" + keep.description() +
                              "): the setup is not saved over it until one is.";
                    result.uncopied = true;
                }
            } else if (savedOver == SavedOver::No) {
                // Opened from elsewhere: what the user had stays in the program's own file,
                // which the next save would replace with these defaults.
                n.text += std::string("\n\nThe defaults are now in use. Before they are saved over ") +
                          SetupFileName + ", that file is kept beside itself.";
            }
        }
        notices.notice(n);
        LoadDefaultSetup(config);
        return result;
    }
}

bool HoldsSetupSection(const std::string& path, std::string* error) {
    if (error) error->clear();
    std::string bytes;
    try {
        bytes = readSetupFileBytes(path);
    } catch (const RuntimeError& e) {
        if (error) *error = e.description();
        return false;
    }
    try {
        SetupFileReader reader(std::move(bytes));
        while (!reader.atEnd())
            if (sectionOf(reader.next().text) != 0) return true;
    } catch (const RuntimeError&) {
        // Damage before any section: nothing in it is a setup.
    }
    return false;
}

bool OwnSetupFile::is(const std::string& other) const {
    std::error_code ec;
    if (std::filesystem::equivalent(other, path_, ec)) return true;
    if (!ec) return false;
    // A file that is not there yet has no identity to compare: its name is all there is.
    std::error_code ecOther, ecOwn;
    const std::filesystem::path a = std::filesystem::weakly_canonical(other, ecOther);
    const std::filesystem::path b = std::filesystem::weakly_canonical(path_, ecOwn);
    return !ecOther && !ecOwn && a == b;
}

bool OwnSetupFile::load(const std::string& from, const std::function<SetupLoad(SavedOver)>& load) {
    const bool own = is(from);
    const SetupLoad got = load(own ? SavedOver::Yes : SavedOver::No);
    copyOwed_ = !got.clean && (!own || got.uncopied);
    return got.clean;
}

std::string OwnSetupFile::save(const std::string& to, const std::function<void()>& save) {
    const std::string notSaved = "The setup was not saved as " + fileNameText(to) + " : ";
    try {
        if (copyOwed_ && is(to)) {
            struct stat st {};
            if (::stat(path_.c_str(), &st) == 0) {
                try {
                    keepCopyBeside(path_);
                } catch (const RuntimeError& e) {
                    return notSaved + "the file as it was could not be kept beside itself (" + e.description() + ")";
                }
            }
            // The file as it was is kept (or there is none): from now on the own file holds
            // what the program saved, and the next save may replace it.
            copyOwed_ = false;
        }
        save();
    } catch (const RuntimeError& e) {
        return notSaved + e.description();
    }
    return {};
}

}  // namespace tiderune
