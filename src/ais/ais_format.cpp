#include "ais_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "ais_decoders.h"
#include "core/number_text.h"

namespace tiderune {

namespace {

// A whole number at `p` as printf's "%0<width>d" writes it; returns the end.
char* putPadded(char* p, long long v, int width) {
    char digits[24];
    const unsigned long long magnitude = v < 0 ? -static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    const char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const int n = static_cast<int>(end - digits);
    if (v < 0) {
        *p++ = '-';
        --width;
    }
    for (int k = n; k < width; ++k) *p++ = '0';
    std::memcpy(p, digits, static_cast<std::size_t>(n));
    return p + n;
}

// Room a date and time needs at most: six numbers of up to 20 digits with their signs and
// separators.
constexpr std::size_t DateTimeRoom = 6 * 22;

// A date and time "yyyy-mm-dd?hh:mm:ss" as printf's "%04d-%02d-%02d?%02d:%02d:%02d" writes
// it, at `p`; returns the end.
char* putDateTime(char* p, long long year, long long month, long long day, char between, long long hour,
                  long long minute, long long second) {
    p = putPadded(p, year, 4);
    *p++ = '-';
    p = putPadded(p, month, 2);
    *p++ = '-';
    p = putPadded(p, day, 2);
    *p++ = between;
    p = putPadded(p, hour, 2);
    *p++ = ':';
    p = putPadded(p, minute, 2);
    *p++ = ':';
    return putPadded(p, second, 2);
}

// A date value as formatAisDate writes it, at `p`; returns the end.
char* putAisDate(char* p, double v) {
    if (v == 0) {
        *p++ = '0';
        return p;
    }
    if (!std::isfinite(v) || std::fabs(v) > 3e6) {
        *p++ = '?';
        return p;
    }
    double day = std::floor(v);
    long long secs = std::llround((v - day) * 86400.0);
    if (secs >= 86400) {
        secs -= 86400;
        day += 1;
    }
    const int year = aisYearOf(day);
    // Month and day by counting from 1 January of the year.
    int month = 1;
    while (month < 12 && aisDateValue(year, month + 1, 1, 0, 0) <= day) ++month;
    const double start = aisDateValue(year, month, 1, 0, 0);
    const int dom = static_cast<int>(day - start) + 1;
    return putDateTime(p, year, month, dom, ' ', secs / 3600, secs / 60 % 60, secs % 60);
}

const char* const MessageNames[] = {"",
                                    "Position report Class A",
                                    "Position report Class A (assigned)",
                                    "Position report Class A (interrogated)",
                                    "Base station report",
                                    "Static and voyage data",
                                    "Addressed binary message",
                                    "Binary acknowledge",
                                    "Binary broadcast message",
                                    "SAR aircraft position report",
                                    "UTC and date inquiry",
                                    "UTC and date response",
                                    "Addressed safety message",
                                    "Safety acknowledge",
                                    "Safety broadcast message",
                                    "Interrogation",
                                    "Assignment mode command",
                                    "DGNSS broadcast",
                                    "Standard Class B position report",
                                    "Extended Class B position report",
                                    "Data link management",
                                    "Aid to navigation report",
                                    "Channel management",
                                    "Group assignment command",
                                    "Static data report",
                                    "Single slot binary message",
                                    "Multiple slot binary message",
                                    "Long range position report"};

std::string_view messageName(int id) { return (id >= 1 && id <= 27) ? MessageNames[id] : "unknown"; }

// One report line written at the end of a caller's text, straight into its bytes: the text
// is lengthened ahead of the writing and cut back to what was written when the Line ends.
// Numbers go by std::to_chars, which gives what printf gives at a fraction of its cost (a
// replay formats millions of them), and no field makes a string of its own.
class Line {
public:
    explicit Line(std::string& out) : out_(out), size_(out.size()) {}
    ~Line() { out_.resize(size_); }
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    template <std::size_t N>
    Line& add(const char (&name)[N], long long v) {
        key(name);
        return number(v);
    }
    // `format` is a printf format of one double; "%.Nf" (N one digit) is written directly.
    template <std::size_t N>
    Line& add(const char (&name)[N], double v, const char* format) {
        key(name);
        if (format[0] == '%' && format[1] == '.' && format[2] >= '0' && format[2] <= '9' && format[3] == 'f' &&
            format[4] == 0) {
            size_ = static_cast<std::size_t>(writeFixed(room(fixedRoom(v)), v, format[2] - '0') - out_.data());
        } else {
            constexpr std::size_t Most = 400;
            const int n = std::snprintf(room(Most), Most, format, v);
            if (n > 0) size_ += std::min<std::size_t>(static_cast<std::size_t>(n), Most - 1);
        }
        return *this;
    }
    // Quoted; a quote or backslash inside (both are 6-bit characters) as \x22 or \x5C, and
    // any byte outside printable ASCII likewise, so every line reads back unambiguously.
    template <std::size_t N>
    Line& text(const char (&name)[N], const std::string& v) {
        key(name).put('"');
        out_.resize(size_);  // the room ahead ends here: the escaped text is appended
        appendEscaped(out_, v);
        size_ = out_.size();
        return put('"');
    }
    template <std::size_t N>
    Line& raw(const char (&name)[N], std::string_view v) {
        key(name);
        return put(v);
    }
    // A date value in quotes, as formatAisDate writes it.
    template <std::size_t N>
    Line& date(const char (&name)[N], double v) {
        key(name);
        char* p = room(DateTimeRoom + 2);
        *p++ = '"';
        p = putAisDate(p, v);
        *p++ = '"';
        size_ = static_cast<std::size_t>(p - out_.data());
        return *this;
    }
    template <std::size_t N>
    Line& dateTime(const char (&name)[N], long long year, long long month, long long day, long long hour,
                   long long minute, long long second) {
        key(name);
        size_ = static_cast<std::size_t>(
            putDateTime(room(DateTimeRoom), year, month, day, 'T', hour, minute, second) - out_.data());
        return *this;
    }
    // Pieces of a value: a whole number, a number with `decimals` decimals, plain text.
    Line& number(long long v) {
        char* p = room(24);
        if (v >= 0 && v <= 9) {  // most flags and small codes
            *p = static_cast<char>('0' + v);
            ++size_;
        } else {
            size_ = static_cast<std::size_t>(std::to_chars(p, p + 24, v).ptr - out_.data());
        }
        return *this;
    }
    Line& fixed(double v, int decimals) {
        size_ = static_cast<std::size_t>(writeFixed(room(fixedRoom(v)), v, decimals) - out_.data());
        return *this;
    }
    Line& put(std::string_view v) {
        std::memcpy(room(v.size()), v.data(), v.size());
        size_ += v.size();
        return *this;
    }
    Line& put(char c) {
        *room(1) = c;
        ++size_;
        return *this;
    }
    // " name=" : names are literals, their length known without looking.
    template <std::size_t N>
    Line& key(const char (&name)[N]) {
        char* p = room(N + 1);
        *p++ = ' ';
        std::memcpy(p, name, N - 1);
        p[N - 1] = '=';
        size_ += N + 1;
        return *this;
    }

private:
    // Space for n more characters at the end of the text, lengthened in steps so that a line
    // seldom needs more than one.
    char* room(std::size_t n) {
        if (size_ + n > out_.size()) grow(n);
        return out_.data() + size_;
    }
    [[gnu::noinline]] void grow(std::size_t n) { out_.resize(size_ + std::max<std::size_t>(n, 512)); }
    // Room for a double in fixed notation: 400 characters fit any, 32 one below 1e15 with up
    // to 9 decimals; asking for no more keeps the room of a line to one step.
    static std::size_t fixedRoom(double v) { return std::fabs(v) < 1e15 ? 32 : 400; }
    std::string& out_;
    std::size_t size_;  // out_[0, size_) is the text so far; the rest is room
};

// "AIS <id> <name>:" and the fields every message opens with.
template <typename Slot>
Line& header(Line& l, int id, const Slot& s) {
    l.put("AIS ").number(id).put(' ').put(messageName(id)).put(':');
    return l.add("repeat", s.RepeatIndicator).add("mmsi", s.MMSI);
}

Line& position(Line& l, double lon, double lat) { return l.add("lon", lon, "%.6f").add("lat", lat, "%.6f"); }

Line& comm(Line& l, const AisCommState& c, int hour, int minute) {
    return l.add("sync", c.SyncState)
        .add("timeout", c.SlotTimeout)
        .add("submsg", c.SubMessage)
        .add("utchour", hour)
        .add("utcmin", minute)
        .add("slotno", c.SlotNumber)
        .add("slotoffset", c.SlotOffset)
        .add("stations", c.ReceivedStations);
}

// The application data group of a binary message's FI, when its type decodes that FI. A text
// telegram is the summary itself.
Line& applicationData(Line& l, const BinaryMessageSlot& s, int id) {
    if (!BinaryMessageDecodesFI(id, s.FI)) return l;
    switch (s.FI) {
    case 2: return l.add("reqdac", s.RequestedDAC).add("reqfi", s.RequestedFI);
    case 11:
        l.add("lat", s.MetLatitude, "%.6f").add("lon", s.MetLongitude, "%.6f");
        l.add("day", s.MetDay).add("hour", s.MetHour).add("minute", s.MetMinute);
        l.add("wind", s.AverageWindSpeed).add("gust", s.WindGust).add("winddir", s.WindDirection);
        l.add("gustdir", s.WindGustDirection).add("airtemp", s.AirTemperature, "%.1f").add("humidity", s.RelativeHumidity);
        l.add("dewpoint", s.DewPoint, "%.1f").add("pressure", s.AirPressure).add("tendency", s.PressureTendency);
        l.add("visibility", s.HorizontalVisibility, "%.1f").add("waterlevel", s.WaterLevel, "%.1f");
        l.add("leveltrend", s.WaterLevelTrend).add("current", s.SurfaceCurrentSpeed, "%.1f");
        l.add("currentdir", s.SurfaceCurrentDirection).add("current2", s.CurrentSpeed2, "%.1f");
        l.add("currentdir2", s.CurrentDirection2).add("level2", s.MeasuringLevel2);
        l.add("current3", s.CurrentSpeed3, "%.1f").add("currentdir3", s.CurrentDirection3).add("level3", s.MeasuringLevel3);
        l.add("waveheight", s.WaveHeight, "%.1f").add("waveperiod", s.WavePeriod).add("wavedir", s.WaveDirection);
        l.add("swellheight", s.SwellHeight, "%.1f").add("swellperiod", s.SwellPeriod).add("swelldir", s.SwellDirection);
        l.add("seastate", s.SeaState).add("watertemp", s.WaterTemperature, "%.1f").add("precipitation", s.PrecipitationType);
        return l.add("salinity", s.Salinity, "%.1f").add("ice", s.Ice);
    case 12: {
        char etd[64], eta[64];
        std::snprintf(etd, sizeof etd, "%d/%d %d:%d", s.ETDMonth, s.ETDDay, s.ETDHour, s.ETDMinute);
        std::snprintf(eta, sizeof eta, "%d/%d %d:%d", s.ETAMonth, s.ETADay, s.ETAHour, s.ETAMinute);
        l.text("lastport", s.LastPortOfCall).raw("etd", etd).text("nextport", s.NextPortOfCall).raw("eta", eta);
        l.text("good", s.MainDangerousGood).text("imd", s.IMDCategory).add("un", s.UNNumber);
        return l.add("amount", s.AmountOfCargo).add("unit", s.UnitOfAmount);
    }
    case 13: {
        char from[64], until[64];
        std::snprintf(from, sizeof from, "%d/%d %d:%d", s.ClosingFromDay, s.ClosingFromMonth, s.ClosingFromHour,
                      s.ClosingFromMinute);
        std::snprintf(until, sizeof until, "%d/%d %d:%d", s.ClosingUntilDay, s.ClosingUntilMonth,
                      s.ClosingUntilHour, s.ClosingUntilMinute);
        l.text("reason", s.ReasonForClosing).text("from", s.ClosingFromLocation).text("to", s.ClosingToLocation);
        l.add("extension", s.ClosedAreaExtension).add("extunit", s.ClosedAreaExtensionUnit);
        return l.raw("closedfrom", from).raw("closeduntil", until);
    }
    case 14:
        l.add("month", s.TidalMonth).add("day", s.TidalDay);
        for (int k = 1; k <= 3; ++k) {
            char buf[160];
            std::snprintf(buf, sizeof buf, "%.6f/%.6f/%d:%d-%d:%d/%d/%.1f", s.TidalLatitude[k], s.TidalLongitude[k],
                          s.TidalFromHour[k], s.TidalFromMinute[k], s.TidalToHour[k], s.TidalToMinute[k],
                          s.TidalCurrentDirection[k], static_cast<double>(s.TidalCurrentSpeed[k]));
            l.raw("point", buf);
        }
        return l;
    case 15: return l.add("height", s.HeightOverKeel, "%.1f");
    case 16: return l.add("persons", s.PersonsOnBoard);
    case 21:
        l.add("reporttype", s.ReportType);
        l.add("lon", s.ObservationLongitude, "%.6f").add("lat", s.ObservationLatitude, "%.6f");
        l.add("month", s.ObservationMonth).add("day", s.ObservationDay).add("hour", s.ObservationHour);
        l.add("minute", s.ObservationMinute).add("course", s.ShipCourse, "%.0f").add("speed", s.ShipSpeed, "%.0f");
        l.add("heading", s.ShipHeading, "%.0f").add("pressure", s.ObservationAirPressure, "%.1f");
        return l.add("change", s.PressureChange, "%.1f").add("tendency", s.ObservationPressureTendency, "%.0f");
    default: return l;
    }
}

template <typename Slot>
Line& slotBinary(Line& l, int id, const Slot& s) {
    header(l, id, s);
    l.add("addressed", s.AddressedFlag).add("structured", s.StructuredFlag).add("dest", s.DestinationMMSI);
    l.add("dac", s.DAC).add("fi", s.FI).text("summary", s.Summary);
    return l;
}

}  // namespace

std::string aisMessageName(int id) { return std::string(messageName(id)); }

std::string formatAisDate(double v) {
    char text[DateTimeRoom];
    return std::string(text, putAisDate(text, v));
}

std::string formatAisMessage(const AISMessageSet& m, int id) {
    std::string out;
    appendAisMessage(out, m, id);
    if (!out.empty()) out += '\n';
    return out;
}

void appendAisMessage(std::string& out, const AISMessageSet& m, int id) {
    Line l(out);
    switch (id) {
    case 1:
    case 2:
    case 3: {
        const ClassAPositionSlot& s = m.classA(id);
        header(l, id, s);
        l.add("status", s.NavigationalStatus).text("statustext", s.NavigationalStatusText);
        l.add("rot", s.RateOfTurn, "%.3f").add("sog", s.SpeedOverGround, "%.1f").add("acc", s.PositionAccuracy);
        position(l, s.Longitude, s.Latitude).add("cog", s.CourseOverGround, "%.1f").add("hdg", s.TrueHeading, "%.0f");
        l.add("second", s.TimeStamp).add("manoeuvre", s.ManoeuvreIndicator).add("raim", s.RAIMFlag);
        comm(l, s.Comm, s.UTCHour, s.UTCMinute);
        return;
    }
    case 4: {
        const BaseStationSlot& s = m.Msg4;
        header(l, id, s);
        l.dateTime("utc", s.UTCYear, s.UTCMonth, s.UTCDay, s.UTCHour, s.UTCMinute, s.UTCSecond);
        l.add("acc", s.PositionAccuracy);
        position(l, s.Longitude, s.Latitude).text("epfd", s.PositionDeviceText).add("raim", s.RAIMFlag);
        comm(l, s.Comm, s.UTCHour, s.UTCMinute);
        return;
    }
    case 5: {
        const StaticVoyageSlot& s = m.Msg5;
        header(l, id, s);
        l.add("version", s.AISVersion).add("imo", s.IMONumber).text("callsign", s.CallSign).text("name", s.Name);
        l.add("type", s.ShipType).text("typetext", s.ShipTypeShortText).text("hazard", s.HazardText);
        l.add("a", s.DimensionA).add("b", s.DimensionB).add("c", s.DimensionC).add("d", s.DimensionD);
        l.text("epfd", s.PositionDeviceText).date("eta", s.ETA);
        l.add("draught", s.Draught, "%.1f").text("destination", s.Destination).add("dte", s.DTEFlag);
        return;
    }
    case 9: {
        const SARAircraftSlot& s = m.Msg9;
        header(l, id, s);
        l.add("alt", s.Altitude).add("sog", s.SpeedOverGround, "%.0f").add("acc", s.PositionAccuracy);
        position(l, s.Longitude, s.Latitude).add("cog", s.CourseOverGround, "%.1f").add("second", s.TimeStamp);
        l.add("dte", s.DTEFlag).add("assigned", s.AssignedModeFlag).add("raim", s.RAIMFlag);
        comm(l, s.Comm, s.UTCHour, s.UTCMinute);
        return;
    }
    case 10: header(l, id, m.Msg10).add("dest", m.Msg10.DestinationMMSI); return;
    case 12: {
        const AddressedSafetySlot& s = m.Msg12;
        header(l, id, s).add("seq", s.SequenceNumber).add("dest", s.DestinationMMSI);
        l.add("retransmit", s.RetransmitFlag).text("text", s.Text);
        return;
    }
    case 14: header(l, id, m.Msg14).text("text", m.Msg14.Text); return;
    case 16: {
        const AssignmentSlot& s = m.Msg16;
        header(l, id, s)
            .add("destA", s.DestinationAMMSI)
            .add("offsetA", s.OffsetA)
            .add("incA", s.IncrementA)
            .add("destB", s.DestinationBMMSI)
            .add("offsetB", s.OffsetB)
            .add("incB", s.IncrementB);
        return;
    }
    case 17: {
        const DGNSSSlot& s = m.Msg17;
        header(l, id, s);
        position(l, s.Longitude, s.Latitude).add("type", s.DGNSSMessageType).add("station", s.StationID);
        l.add("zcount", s.ZCount, "%.1f").add("seq", s.SequenceNumber).add("words", s.NumberOfDataWords);
        l.add("health", s.StationHealth);
        if (s.DGNSSMessageType == 1 || s.DGNSSMessageType == 9 || s.DGNSSMessageType == 31 || s.DGNSSMessageType == 34) {
            l.add("sats", s.NumberOfSatellites);
            // scale/UDRE/id/correction/rate/IOD
            for (int k = 1; k <= s.NumberOfSatellites; ++k) {
                l.key("sat").number(s.ScaleFactor[k]).put('/').number(s.UDRE[k]).put('/').number(s.SatelliteID[k]);
                l.put('/').fixed(s.PseudorangeCorrection[k], 2).put('/').fixed(s.RangeRateCorrection[k], 3);
                l.put('/').number(s.IssueOfData[k]);
            }
        } else if (s.DGNSSMessageType == 3 || s.DGNSSMessageType == 32) {
            l.add("x", s.ReferenceX, "%.2f").add("y", s.ReferenceY, "%.2f").add("z", s.ReferenceZ, "%.2f");
        }
        return;
    }
    case 18: {
        const ClassBPositionSlot& s = m.Msg18;
        header(l, id, s);
        l.add("sog", s.SpeedOverGround, "%.1f").add("acc", s.PositionAccuracy);
        position(l, s.Longitude, s.Latitude).add("cog", s.CourseOverGround, "%.1f").add("hdg", s.TrueHeading, "%.0f");
        l.add("second", s.TimeStamp).add("cs", s.ClassBUnitFlag).add("display", s.DisplayFlag).add("dsc", s.DSCFlag);
        l.add("band", s.BandFlag).add("msg22", s.Message22Flag).add("assigned", s.AssignedModeFlag);
        l.add("raim", s.RAIMFlag).add("selector", s.CommStateSelector);
        comm(l, s.Comm, s.UTCHour, s.UTCMinute);
        return;
    }
    case 19: {
        const ClassBExtendedSlot& s = m.Msg19;
        header(l, id, s);
        l.add("sog", s.SpeedOverGround, "%.1f").add("acc", s.PositionAccuracy);
        position(l, s.Longitude, s.Latitude).add("cog", s.CourseOverGround, "%.1f").add("hdg", s.TrueHeading, "%.0f");
        l.add("second", s.TimeStamp).text("name", s.Name).add("type", s.ShipType).text("typetext", s.ShipTypeText);
        l.add("a", s.DimensionA).add("b", s.DimensionB).add("c", s.DimensionC).add("d", s.DimensionD);
        l.text("epfd", s.PositionDeviceText).add("raim", s.RAIMFlag).add("dte", s.DTEFlag);
        return;
    }
    case 20: {
        const LinkManagementSlot& s = m.Msg20;
        header(l, id, s);
        for (int k = 1; k <= 4; ++k) {  // offset/slots/timeout/increment
            l.key("reservation").number(s.Offset[k]).put('/').number(s.NumberOfSlots[k]).put('/');
            l.number(s.Timeout[k]).put('/').number(s.Increment[k]);
        }
        return;
    }
    case 21: {
        const AidToNavigationSlot& s = m.Msg21;
        header(l, id, s);
        l.add("aidtype", s.AidType).text("aidtext", s.AidTypeText).text("name", s.Name).add("acc", s.PositionAccuracy);
        position(l, s.Longitude, s.Latitude);
        l.add("a", s.DimensionA).add("b", s.DimensionB).add("c", s.DimensionC).add("d", s.DimensionD);
        l.text("epfd", s.PositionDeviceText).add("second", s.TimeStamp).add("offpos", s.OffPosition);
        l.add("page", s.StatusPage).add("racon", s.RACONStatus).add("light", s.LightStatus).add("health", s.HealthFlag);
        l.add("raim", s.RAIMFlag).add("virtual", s.VirtualAidFlag).add("assigned", s.AssignedModeFlag);
        l.text("nameext", s.NameExtension);
        return;
    }
    case 22: {
        const ChannelManagementSlot& s = m.Msg22;
        header(l, id, s);
        l.add("chA", s.ChannelA).add("chB", s.ChannelB).add("txrx", s.TxRxMode).add("power", s.Power);
        l.add("nelon", s.NorthEastLongitude, "%.0f").add("nelat", s.NorthEastLatitude, "%.0f");
        l.add("swlon", s.SouthWestLongitude, "%.0f").add("swlat", s.SouthWestLatitude, "%.0f");
        l.add("addressed", s.AddressedFlag).add("bwA", s.ChannelABandwidth).add("bwB", s.ChannelBBandwidth);
        l.add("zone", s.TransitionZoneSize);
        return;
    }
    case 23: {
        const GroupAssignmentSlot& s = m.Msg23;
        header(l, id, s);
        l.add("nelon", s.NorthEastLongitude, "%.0f").add("nelat", s.NorthEastLatitude, "%.0f");
        l.add("swlon", s.SouthWestLongitude, "%.0f").add("swlat", s.SouthWestLatitude, "%.0f");
        l.add("station", s.StationType).add("type", s.ShipType).add("txrx", s.TxRxMode);
        l.add("interval", s.ReportingInterval).add("quiet", s.QuietTime);
        return;
    }
    case 24: {
        const StaticDataSlot& s = m.Msg24;
        header(l, id, s);
        l.add("part", s.PartNumber);
        if (s.PartNumber == 0) {
            l.text("name", s.Name);
            return;
        }
        l.add("type", s.ShipType).text("typetext", s.ShipTypeShortText).text("vendor", s.VendorID);
        l.add("model", s.UnitModelCode).add("serial", s.SerialNumber).text("callsign", s.CallSign);
        l.add("a", s.DimensionA).add("b", s.DimensionB).add("c", s.DimensionC).add("d", s.DimensionD);
        return;
    }
    case 27: {
        const LongRangeSlot& s = m.Msg27;
        header(l, id, s);
        l.add("acc", s.PositionAccuracy).add("raim", s.RAIMFlag).add("status", s.NavigationalStatus);
        position(l, s.Longitude, s.Latitude).add("sog", s.SpeedOverGround, "%.0f").add("cog", s.CourseOverGround, "%.0f");
        l.add("gnss", s.GNSSPositionStatus);
        return;
    }
    case 6:
    case 8: {
        const BinaryMessageSlot& s = id == 6 ? m.Msg6 : m.Msg8;
        header(l, id, s);
        if (id == 6) l.add("dest", s.DestinationMMSI);
        l.add("dac", s.DAC).add("fi", s.FI).text("summary", s.Summary);
        applicationData(l, s, id);
        return;
    }
    case 25: {
        const SingleSlotBinarySlot& s = m.Msg25;
        slotBinary(l, id, s);
        if (s.StructuredFlag == 1 && s.FI == 15) l.add("height", s.HeightOverKeel, "%.1f");
        if (s.StructuredFlag == 1 && s.FI == 16) l.add("persons", s.PersonsOnBoard);
        return;
    }
    case 26: {
        const MultiSlotBinarySlot& s = m.Msg26;
        slotBinary(l, id, s);
        if (s.StructuredFlag == 1 && s.FI == 15) l.add("height", s.HeightOverKeel, "%.1f");
        if (s.StructuredFlag == 1 && s.FI == 16) l.add("persons", s.PersonsOnBoard);
        l.add("selector", s.CommStateSelector);
        return;
    }
    case 7:
    case 11:
    case 13:
    case 15: l.put("AIS ").number(id).put(' ').put(messageName(id)); return;
    default: return;
    }
}

std::string formatAisTargets(const AisTargetStore& store, int system) {
    const int count = store.TargetCount[system];
    std::string out = "AIS targets of system " + std::to_string(system) + ": " + std::to_string(count) + "\n";
    for (int i = 1; i <= count; ++i) {
        const AISTarget& t = store.AISTargetTable[system][i];
        Line l(out);
        l.number(i).put(':');
        l.add("mmsi", t.MMSI).text("class", t.AISClass).text("country", t.Country).text("name", t.Name);
        l.text("callsign", t.CallSign).add("imo", t.IMONumber);
        position(l, t.Longitude, t.Latitude).add("sog", t.SpeedOverGround, "%.1f");
        l.add("cog", t.CourseOverGround, "%.1f").add("hdg", t.Heading, "%.0f").add("rot", t.RateOfTurn, "%.3f");
        l.text("status", t.NavigationStatus).text("acc", t.PositionAccuracy).add("second", t.TimeStamp);
        l.text("type", t.TypeOfShip).text("cargo", t.CargoText);
        l.add("a", t.DimensionA).add("b", t.DimensionB).add("c", t.DimensionC).add("d", t.DimensionD);
        l.text("epfd", t.PositionDeviceText).date("eta", t.ETA);
        l.add("draught", t.Draught, "%.1f").text("destination", t.Destination);
        l.date("first", t.FirstSeen).date("last", t.LastSeen).add("seconds", t.SecondsSeen);
        // the counts of messages 1, 2, 3 and 5
        l.key("msgs").number(t.MessageCount[1]).put('/').number(t.MessageCount[2]).put('/');
        l.number(t.MessageCount[3]).put('/').number(t.MessageCount[5]).put('\n');
    }
    return out;
}

}  // namespace tiderune
