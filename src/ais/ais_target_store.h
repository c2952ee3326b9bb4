#pragma once
// Per system, one record for every vessel, base station, aircraft or aid to navigation heard
// on the system's AIS sentences, keyed by MMSI, in the order they were first heard. The table
// only grows; nothing clears it while the program runs.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ais_messages.h"
#include "ais_tables.h"
#include "core/errors.h"
#include "core/indexed.h"
#include "core/notices.h"

namespace tiderune {

struct AISTarget {
    std::int32_t MMSI = 0;
    std::string Country;
    std::string AISClass;
    std::string NavigationStatus;
    float RateOfTurn = 0;
    float SpeedOverGround = 0;
    std::string PositionAccuracy;
    double Longitude = 0;
    double Latitude = 0;
    float CourseOverGround = 0;
    float Heading = 0;
    std::int16_t TimeStamp = 0;
    std::int32_t IMONumber = 0;
    std::string CallSign;
    std::string Name;
    std::string TypeOfShip;
    std::string CargoText;
    std::int16_t DimensionA = 0;
    std::int16_t DimensionB = 0;
    std::int16_t DimensionC = 0;
    std::int16_t DimensionD = 0;
    std::string PositionDeviceText;
    double ETA = 0;
    float Draught = 0;
    std::string Destination;
    double FirstSeen = 0;
    double LastSeen = 0;
    std::int32_t SecondsSeen = 0;
    IndexedArray<std::int32_t, 0, 27> MessageCount;
    // Bit 1 << id for every message id the target was heard by: tells a field no message
    // filled (still 0) from a field a message set to 0.
    std::uint32_t MessageIDsHeard = 0;
};

inline constexpr int MaxAISTargets = 500;

// The targets of one system at indices 1 to 500 (index 0 is never used). Records are made as
// targets are first heard; an index that holds no target yet reads as an empty record, and an
// index outside 0-500 raises "Subscript out of range".
class AisTargetList {
public:
    const AISTarget& operator[](long long i) const {
        if (i < 0 || i > MaxAISTargets) throwSubscriptOutOfRange();
        return i >= 1 && i <= size() ? targets_[static_cast<std::size_t>(i - 1)] : empty();
    }
    // Only stored targets can be written.
    AISTarget& at(long long i) {
        if (i < 1 || i > size()) throwSubscriptOutOfRange();
        return targets_[static_cast<std::size_t>(i - 1)];
    }
    int size() const noexcept { return static_cast<int>(targets_.size()); }
    // A new empty record at index size() + 1; the caller keeps to the 500. Room for all 500
    // is taken at the first, so a stored record never moves.
    AISTarget& add() {
        if (targets_.capacity() == 0) targets_.reserve(MaxAISTargets);
        if (size() >= MaxAISTargets) throwSubscriptOutOfRange();
        return targets_.emplace_back();
    }

private:
    static const AISTarget& empty() {
        static const AISTarget none;
        return none;
    }
    std::vector<AISTarget> targets_;
};

// Where each MMSI of one system's table is: open addressing over 1024 slots, so that a lookup
// costs one or two probes even with all 500 targets stored. MMSI 0 is never stored.
class MmsiIndex {
public:
    // The 1-based table index of the MMSI, 0 when it is not stored.
    int find(std::int32_t mmsi) const noexcept {
        for (std::size_t s = slotOf(mmsi);; s = (s + 1) & (Slots - 1)) {
            if (keys_[s] == mmsi) return index_[s];
            if (keys_[s] == 0) return 0;
        }
    }
    void add(std::int32_t mmsi, int index) noexcept {
        std::size_t s = slotOf(mmsi);
        while (keys_[s] != 0) s = (s + 1) & (Slots - 1);
        keys_[s] = mmsi;
        index_[s] = static_cast<std::int16_t>(index);
    }

private:
    static constexpr std::size_t Slots = 1024;  // more than twice the 500 targets
    static std::size_t slotOf(std::int32_t mmsi) noexcept {
        return (static_cast<std::uint32_t>(mmsi) * 2654435761u >> 22) & (Slots - 1);
    }
    std::array<std::int32_t, Slots> keys_{};
    std::array<std::int16_t, Slots> index_{};
};

struct AisTargetStore {
    PerSystem<AisTargetList> AISTargetTable;
    PerSystem<std::int16_t> TargetCount;
    PerSystem<std::int16_t> CurrentTarget;  // the target the last accepted message updated
    PerSystem<bool> MMSIZero;               // the last sentence updated no target
    // Messages too short for their type's fixed fields: they create and move no target.
    PerSystem<std::int64_t> ShortMessages;
    PerSystem<bool> FullNoticeGiven;  // the table-full message goes out once per system
    PerSystem<MmsiIndex> mmsiIndex;
};

// What the store needs of the sentence just processed on a system.
struct AisStoreInput {
    int system = 1;
    int messageID = 0;    // LastAISMessageID of the system
    int messageBits = 0;  // usable bits of that message's payload
    double epochTime = 0;  // the system's EpochTime
};

// Finds or creates the target of the message just completed and copies its fields.
void StoreAISTarget(AisTargetStore& store, const AisStoreInput& in, const AISMessageSet& messages,
                    const AisTables& tables, NoticeSink& notices);

// The bits a message of this id must carry before it may create or move a target; 0 for
// ids that never touch a target.
int aisTargetMinimumBits(int messageID) noexcept;

// Country of an MMSI's Maritime Identification Digits, or "unknown".
std::string aisCountryOf(std::int32_t mmsi, const AisTables& tables);

}  // namespace tiderune
