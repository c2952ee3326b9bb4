#pragma once
// The decoded fields of the last VDM/VDO sentence of a system. Filled by the AIS sentence
// assembly; kept here so that the system's sentence records can hold it.
#include <cstdint>
#include <string>

namespace tiderune {

struct VDMRecord {
    std::int16_t FragmentCount = 0;
    std::int16_t FragmentNumber = 0;
    std::int16_t SequentialID = 0;  // MissingValue when the field is empty
    char Channel = 0;               // a blank when the field is empty
    std::string Payload;            // the armoured payload of this fragment
    std::int16_t FillBits = 0;
};

}  // namespace tiderune
