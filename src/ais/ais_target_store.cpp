#include "ais_target_store.h"

#include <cmath>

#include "core/counting.h"

namespace tiderune {

int aisTargetMinimumBits(int messageID) noexcept {
    switch (messageID) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 9:
    case 18: return 168;
    case 5: return 420;  // some transmitters leave off the last spare bits of the 424
    case 19: return 312;
    case 21: return 272;  // the name extension is optional
    default: return 0;
    }
}

std::string aisCountryOf(std::int32_t mmsi, const AisTables& tables) {
    // A nine-digit MMSI opens with its MID; a coast station's (00MIDxxxx) has it at digits 3-5.
    std::int64_t mid = mmsi / 1000000;
    if (mid < 10) mid = mmsi / 10000;
    const std::string& country = lookupText(tables.MIDCountry, mid);
    return country.empty() ? std::string("unknown") : country;
}

namespace {

std::int32_t mmsiOf(int id, const AISMessageSet& m) {
    switch (id) {
    case 1:
    case 2:
    case 3: return m.classA(id).MMSI;
    case 4: return m.Msg4.MMSI;
    case 5: return m.Msg5.MMSI;
    case 9: return m.Msg9.MMSI;
    case 18: return m.Msg18.MMSI;
    case 19: return m.Msg19.MMSI;
    case 21: return m.Msg21.MMSI;
    default: return 0;
    }
}

// Whole seconds between two date values, each taken to its nearest second; nothing when the
// times are not usable.
bool secondsBetween(double from, double to, std::int32_t& seconds) {
    const double a = std::nearbyint(from * 86400.0);
    const double b = std::nearbyint(to * 86400.0);
    if (!std::isfinite(a) || !std::isfinite(b)) return false;
    const double d = b - a;
    if (d < -2147483648.0 || d > 2147483647.0) return false;
    seconds = static_cast<std::int32_t>(static_cast<std::int64_t>(d));
    return true;
}

bool allBlanks(const std::string& s, std::size_t n) { return s.size() == n && s.find_first_not_of(' ') == std::string::npos; }

template <typename Slot>
void copyPosition(AISTarget& t, const Slot& s) {
    t.Latitude = s.Latitude;
    t.Longitude = s.Longitude;
    t.PositionAccuracy = s.PositionAccuracyText;
}

// Position, speed, course, heading and time stamp of the class A and class B position reports.
template <typename Slot>
void copyMotion(AISTarget& t, const Slot& s) {
    copyPosition(t, s);
    t.SpeedOverGround = s.SpeedOverGround;
    t.CourseOverGround = s.CourseOverGround;
    t.Heading = s.TrueHeading;
    t.TimeStamp = s.TimeStamp;
}

// Size from the reference point and the position-fixing device, as the static reports give them.
template <typename Slot>
void copyDimensions(AISTarget& t, const Slot& s) {
    t.DimensionA = s.DimensionA;
    t.DimensionB = s.DimensionB;
    t.DimensionC = s.DimensionC;
    t.DimensionD = s.DimensionD;
    t.PositionDeviceText = s.PositionDeviceText;
}

}  // namespace

void StoreAISTarget(AisTargetStore& store, const AisStoreInput& in, const AISMessageSet& m, const AisTables& tables,
                    NoticeSink& notices) {
    const int sys = in.system;
    const int id = in.messageID;
    const std::int32_t mmsi = mmsiOf(id, m);
    store.MMSIZero[sys] = false;
    if (mmsi == 0) {
        store.MMSIZero[sys] = true;
        return;
    }
    if (in.messageBits < aisTargetMinimumBits(id)) {
        // Its position and identity would be zeros the payload never carried.
        countUp(store.ShortMessages[sys]);
        store.MMSIZero[sys] = true;
        return;
    }

    auto& table = store.AISTargetTable[sys];
    int index = store.mmsiIndex[sys].find(mmsi);
    if (index == 0) {
        if (store.TargetCount[sys] >= MaxAISTargets) {
            // Told once: a busy channel would otherwise repeat it for every sentence.
            if (!store.FullNoticeGiven[sys]) {
                store.FullNoticeGiven[sys] = true;
                notices.notice({"Maximum limit AIS system  " + std::to_string(sys) +
                                    ", more than 500 targets stored. New targets ignored!",
                                "", NoticeIcon::Information});
            }
            return;
        }
        index = ++store.TargetCount[sys];
        store.mmsiIndex[sys].add(mmsi, index);
        AISTarget& t = table.add();
        t.MMSI = mmsi;
        t.Country = aisCountryOf(mmsi, tables);
        t.FirstSeen = in.epochTime;
        switch (id) {
        case 4:
            t.AISClass = "Base Station";
            t.Name = "Base Station";
            break;
        case 9:
            t.AISClass = "SAR Aircraft";
            t.Name = "SAR Aircraft";
            break;
        case 18:
        case 19: t.AISClass = "Class B Vessel"; break;
        case 21: t.AISClass = "Aids to Navigation"; break;
        default: t.AISClass = "Class A Vessel"; break;
        }
    }
    store.CurrentTarget[sys] = static_cast<std::int16_t>(index);

    AISTarget& t = table.at(index);
    t.MessageIDsHeard |= 1u << id;  // only ids 1 to 21 carry an MMSI
    t.LastSeen = in.epochTime;
    secondsBetween(t.FirstSeen, t.LastSeen, t.SecondsSeen);  // keeps the old value when it cannot

    switch (id) {
    case 1:
    case 2:
    case 3: {
        const ClassAPositionSlot& s = m.classA(id);
        copyMotion(t, s);
        t.NavigationStatus = s.NavigationalStatusText;
        t.RateOfTurn = s.RateOfTurn;
        countUp(t.MessageCount[id]);
        break;
    }
    case 4: {
        const BaseStationSlot& s = m.Msg4;
        copyPosition(t, s);
        t.TimeStamp = s.UTCSecond;
        t.PositionDeviceText = s.PositionDeviceText;
        t.CallSign = "n/a";
        t.Destination = "n/a";
        break;
    }
    case 5: {
        const StaticVoyageSlot& s = m.Msg5;
        t.Name = s.Name;
        t.CallSign = s.CallSign;
        t.IMONumber = s.IMONumber;
        t.TypeOfShip = s.ShipTypeShortText;
        t.CargoText = s.HazardText;
        copyDimensions(t, s);
        t.ETA = s.ETA;
        t.Draught = s.Draught;
        t.Destination = s.Destination;
        countUp(t.MessageCount[5]);
        break;
    }
    case 9: {
        const SARAircraftSlot& s = m.Msg9;
        copyPosition(t, s);
        t.SpeedOverGround = s.SpeedOverGround;
        t.CourseOverGround = s.CourseOverGround;
        t.TimeStamp = s.TimeStamp;
        t.CallSign = "n/a";
        t.PositionDeviceText = "n/a";
        t.Destination = "n/a";
        break;
    }
    case 18: {
        const ClassBPositionSlot& s = m.Msg18;
        t.Name = "Class B vessel";
        copyMotion(t, s);
        t.CallSign = "n/a";
        t.PositionDeviceText = "n/a";
        t.Destination = "n/a";
        break;
    }
    case 19: {
        const ClassBExtendedSlot& s = m.Msg19;
        copyMotion(t, s);
        t.Name = allBlanks(s.Name, 20) ? std::string("Class B vessel") : s.Name;
        copyDimensions(t, s);
        t.CallSign = "n/a";
        t.Destination = "n/a";
        break;
    }
    case 21: {
        const AidToNavigationSlot& s = m.Msg21;
        copyPosition(t, s);
        t.TimeStamp = s.TimeStamp;
        t.Name = allBlanks(s.Name, 20) ? std::string("Aid to Navigation") : s.Name;
        copyDimensions(t, s);
        t.CallSign = "n/a";
        t.Destination = "n/a";
        break;
    }
    default: break;
    }
}

}  // namespace tiderune
