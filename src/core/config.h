#pragma once
// The program's configuration: the sources, serial ports, chosen sentence types, switches,
// reference values and display settings of the four systems. The setup file loads and saves
// these tables, the setup dialog edits them, everything else only reads them.
#include <cstdint>
#include <string>

#include "indexed.h"
#include "records.h"

namespace tiderune {

struct SystemSetup {
    bool InUse = false;
    std::string Name;
    std::string Kind;  // "GPS/GLONASS", "Loran C", "Gyro", "Speed Log", "Echosounder", "ARPA Radar", "AIS", "other"
    std::int16_t ComPort = 0;  // 1..16; 0 = none
    bool UseTCP = false;
    std::string TCPHost;
    std::int32_t TCPPort = 0;
    bool UseUDP = false;
    std::int32_t UDPPort = 0;
    std::string OfflineFile;
    // Derived from MessagesToAnalyse when a setup is applied; never stored in the setup file.
    bool GGAAnalysed = false;
    bool GNSAnalysed = false;
    bool GLLAnalysed = false;
    bool RMCAnalysed = false;
    bool VTGAnalysed = false;
    bool GSAAnalysed = false;
    bool GSVAnalysed = false;
    bool ZDAAnalysed = false;
    bool HDTAnalysed = false;
    bool ATTAnalysed = false;
    bool ROTAnalysed = false;
    bool VHWAnalysed = false;
    bool DBTAnalysed = false;
    bool TTMAnalysed = false;
    bool VDMAnalysed = false;  // covers VDO too
    bool GSTAnalysed = false;

    // The analyse flag of a type.
    bool& analysed(SentenceType t);
    bool analysed(SentenceType t) const;
};

struct ComportSetting {
    std::int16_t AssignedSystem = 0;  // 1..4, 0 = none
    bool Probed = false;
    std::string ProbeStatus;  // "free", "busy", "current", "none", "err "
    std::int32_t Baud = 0;
    std::int16_t DataBits = 0;
    std::string Parity;  // "none", "odd", "even"
    std::int16_t StopBits = 0;
};

// One flag per kind of child window of a system, set while that window is open.
struct VisibleForms {
    enum Word : int {
        Numerics = 0,
        Statistics = 2,
        SNRStatistics = 3,
        NMEAMonitor = 4,
        Scatter = 5,
        Skyplot = 6,
        GGATimeSeries = 7,
        GNSTimeSeries = 8,
        GLLTimeSeries = 9,
        RMCTimeSeries = 10,
        VTGTimeSeries = 11,
        GSATimeSeries = 12,
        GSVTimeSeries = 13,
        HDTTimeSeries = 164,
        ATTTimeSeries = 165,
        ROTTimeSeries = 166,
        VHWTimeSeries = 167,
        DBTTimeSeries = 168,
        ARPATargets = 169,
        AISTargets = 170,
        SNRTimeSeries = 171,
        GSTTimeSeries = 172,
    };
    IndexedArray<bool, 0, 172> words;

    bool& operator[](int word) { return words[word]; }
    bool operator[](int word) const { return words[word]; }
};

inline constexpr int MessageSlots = 12;          // MessagesToAnalyse slots per system
inline constexpr int SavedMessageSlots = 10;     // slots kept in the setup file and read
inline constexpr int SNRConstellations = 5;
inline constexpr int SNRSeriesPerConstellation = 32;

struct Config {
    std::string Mode;  // "ONLINE" or "OFFLINE"
    PerSystem<SystemSetup> Systems;
    PerComPort<ComportSetting> Comports;
    PerSystem<IndexedArray<std::string, 1, MessageSlots>> MessagesToAnalyse;

    PerSystem<bool> ChecksumTest;   // sentences whose checksum fails are dropped
    PerSystem<bool> EmptyBuffer;    // serial: keep only the oldest complete line per event
    PerSystem<bool> SetTimeFromPC;  // epoch time from the PC clock
    PerSystem<bool> NoDGPSChart;    // hide the DGPS chart of the GGA and GNS windows

    PerSystem<std::int16_t> ReferenceMode;  // 0 first fix, 1 running mean, 2 fixed
    PerSystem<std::string> ReferenceName;
    PerSystem<double> ReferenceLat;  // radians
    PerSystem<double> ReferenceLon;  // radians
    PerSystem<float> ReferenceHeight;  // metres
    PerSystem<float> ReferenceHeading;  // degrees
    PerSystem<float> ReferencePitch;
    PerSystem<float> ReferenceRoll;

    std::string SessionInfo;
    IndexedArray<std::string, 0, 9> IPList;
    std::int16_t IPListCount = 0;  // 0..10

    bool LatLonFormatDMS = false;
    std::int16_t LatLonDecimals = 0;  // 0..5

    std::int16_t ElevationMask = 0;  // whole degrees 0..89
    IndexedArray<std::int16_t, 1, SNRConstellations> SNRSeriesCount;
    IndexedArray<std::int16_t, 1, SNRConstellations> SNRSeriesColumns;
    IndexedArray<IndexedArray<bool, 1, SNRSeriesPerConstellation>, 1, SNRConstellations> SNRSeriesVisible;

    std::int16_t BaseDataFlag = 0;

    // Set by the setup dialog's OK; not kept in the setup file.
    float OutlierLimit = 0;  // degrees; 0 = no outlier test
    float HdopLimit = 0;
    std::int16_t MinSatellites = 0;
    bool NoDifferentialGPS = false;

    PerSystem<VisibleForms> WindowVisible;
};

// Puts the defaults of a new setup in place; leaves everything it does not name as it is
// (UDP settings, TTM/VDM flags, ports, chosen sentences, references, windows, formats ...).
void LoadDefaultSetup(Config& config);

}  // namespace tiderune
