#pragma once
// The reference positions file, "Reference Positions.txt" in the program folder: named true
// reference positions, one per line, as a quoted name, the latitude and longitude in radians
// and the height in metres, comma-separated, lines ending in CR LF.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tiderune {

inline constexpr const char* ReferenceFileName = "Reference Positions.txt";
inline constexpr const char* ReferenceBufferFileName = "BufferFile.txt";

struct ReferenceRecord {
    std::string name;
    double latitude = 0;   // radians, north positive
    double longitude = 0;  // radians, east positive
    float height = 0;      // metres
    bool operator==(const ReferenceRecord&) const = default;
};

// One line of the file; a line that cannot be read has no record and is kept as it stands.
std::optional<ReferenceRecord> parseReferenceLine(std::string_view line);
// The line of a record without its line end: numbers with a point and enough digits to
// read back the same values.
std::string referenceLineText(const ReferenceRecord& record);

// The readable records of the file in file order; a missing file gives none. The position
// of a name in the dialog's list is its index here. A file that cannot be read (or is no
// regular file: a folder, a named pipe) gives none too, and `error` "The file <path> could
// not be read." when asked for.
std::vector<ReferenceRecord> readReferenceRecords(const std::string& path, std::string* error = nullptr);

struct ReferenceUpdate {
    bool written = false;
    std::string error;  // why not, when not written
};
// Stores `record` in the file of the folder (with its trailing "/"): every record of the
// same name (exact comparison) is replaced in its place, each after `tell` has been given
// "The reference target '<name>' already exist. The position will be updated!"; without one,
// the record is appended; a missing file is created. The new contents go to the buffer file
// first, which then takes the file's name, so a failure leaves the old file whole.
ReferenceUpdate UpdateReferenceFile(const std::string& folder, const ReferenceRecord& record,
                                    const std::function<void(const std::string&)>& tell);

}  // namespace tiderune
