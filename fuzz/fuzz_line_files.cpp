// Any bytes as the two files of lines a user hands the program: a recording replayed from
// a file, and the reference positions file.
//
// The input is the file, except that 0xFF, a 16-bit count and a byte stand for that byte
// repeated count + 1 times, so that short inputs make lines longer than any sentence
// and cross the replay reader's 64 KiB blocks. A file stops after two blocks and a
// line.
//
// The replay must hand out exactly the lines a plain split gives (at CR LF, LF or a lone
// CR), minus the over-long ones, which are counted. Every reference record must read back
// as itself from the line the program writes for it, and storing a position must keep every
// other line of the file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "app/logic/replay_file.h"
#include "core/errors.h"
#include "setup/logic/reference_file.h"

using namespace tiderune;

namespace {

std::string expand(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t MaxFile = (2 << 16) + 8192;
    std::string out;
    for (std::size_t i = 0; i < size && out.size() < MaxFile; ++i) {
        if (data[i] == 0xFF && i + 3 < size) {
            const std::size_t count = (std::size_t{data[i + 1]} << 8 | data[i + 2]) + 1;
            out.append(count, static_cast<char>(data[i + 3]));
            i += 3;
        } else {
            out += static_cast<char>(data[i]);
        }
    }
    if (out.size() > MaxFile) out.resize(MaxFile);
    return out;
}

void put(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) std::abort();
}

void checkReplay(const std::string& path, std::string_view bytes) {
    ReplayFile replay;
    replay.open(path);
    std::string line;
    std::int64_t tooLong = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        const bool last = end == std::string_view::npos;
        if (last) end = bytes.size();
        if (end - start > ReplayFile::MaxLineLength)
            ++tooLong;
        else if (!replay.readLine(line) || line != bytes.substr(start, end - start))
            __builtin_trap();
        if (last) break;
        start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    if (replay.readLine(line) || replay.droppedLines() != tooLong || !replay.readError().empty()) __builtin_trap();
}

void checkReference(const std::string& folder, const std::string& path) {
    std::string error;
    const std::vector<ReferenceRecord> before = readReferenceRecords(path, &error);
    if (!error.empty()) __builtin_trap();
    for (const ReferenceRecord& r : before) {
        const auto back = parseReferenceLine(referenceLineText(r));
        if (!back || !(*back == r)) __builtin_trap();
    }
    // Store a position under the first name, or a new one: the others stay as they were.
    ReferenceRecord stored{before.empty() ? "new" : before.front().name, 0.5, -0.25, 12.5f};
    std::vector<ReferenceRecord> expected = before;
    bool replaced = false;
    for (ReferenceRecord& r : expected)
        if (r.name == stored.name) r = stored, replaced = true;
    if (!replaced) expected.push_back(stored);
    if (!UpdateReferenceFile(folder, stored, {}).written) __builtin_trap();
    if (readReferenceRecords(path) != expected) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A folder of its own in memory, removed when the run ends.
    static const struct Folder {
        Folder() {
            char name[] = "/dev/shm/tiderune-fuzz-XXXXXX";
            if (!::mkdtemp(name)) std::abort();
            path = std::string(name) + "/";
        }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
        std::string path;
    } dir;
    const std::string& folder = dir.path;
    const std::string path = folder + ReferenceFileName;
    const std::string bytes = expand(data, size);
    put(path, bytes);
    checkReplay(path, bytes);
    // The reference file is read whole, with nothing in it that depends on its size: small
    // files keep the target fast.
    if (bytes.size() <= 16384) checkReference(folder, path);
    return 0;
}
