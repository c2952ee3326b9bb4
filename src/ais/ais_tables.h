#pragma once
// The texts behind the numeric codes of AIS messages: navigational status, position
// accuracy, ship and cargo types, position fixing devices, aids to navigation and the
// countries of the Maritime Identification Digits. Filled once at start-up and read-only
// afterwards; every lookup is a direct index.
#include <string>

#include "core/indexed.h"

namespace tiderune {

struct AisTables {
    IndexedArray<std::string, 0, 15> NavStatusText;
    IndexedArray<std::string, 0, 1> PositionAccuracyText;
    IndexedArray<std::string, 0, 9> HazardCategoryText;
    IndexedArray<std::string, 0, 255> ShipTypeText;
    IndexedArray<std::string, 0, 100> ShipTypeShortText;
    IndexedArray<std::string, 0, 16> EPFDTypeText;
    IndexedArray<std::string, 0, 31> AtoNTypeText;
    IndexedArray<std::string, 0, 1000> MIDCountry;
};

// Builds all eight tables. The program calls it once, while starting up.
AisTables InitAISTables();

// The row of a table for a code that came off the air. A code outside the table's rows
// reads like a row that was never filled: the empty text.
template <typename Table>
const std::string& lookupText(const Table& table, long long code) {
    static const std::string empty;
    return Table::inRange(code) ? table[code] : empty;
}

}  // namespace tiderune
