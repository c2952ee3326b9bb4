#pragma once
// The setup file: the whole configuration between runs, in 20 sections each headed by a
// quoted "REM ..." line. The program saves it to "Tiderune.ini" in its folder on exit and on
// File Save (or to a chosen path on File Save As), and loads it at start-up and on File Open.
#include <functional>
#include <string>
#include <utility>

#include "config.h"
#include "notices.h"

namespace tiderune {

inline constexpr const char* SetupFileName = "Tiderune.ini";

// The file's bytes for `config`: 20 sections, CR LF line ends. The NMEA monitor's flag is
// written as #FALSE# for every system (the monitor does not reopen at the next start), but
// the flag in `config` is left alone, so an open monitor keeps being fed.
std::string SetupFileText(const Config& config);

// Writes SetupFileText(config) to `path`, replacing any earlier file only once the new one
// is complete. A failure is thrown as a RuntimeError for the caller to report.
void SaveSetupFile(const Config& config, const std::string& path);

// Reads the bytes of a setup file into `config`, section by section. The first damage is
// raised as a RuntimeError; what was read before it stays in `config`.
void ReadSetupText(Config& config, std::string bytes);

// Whether the program will save over the file it loads: its own setup file is saved over at
// exit and by File Save; a file opened from elsewhere never is.
enum class SavedOver : bool { No, Yes };

// Reads `path` into `config`. Sections may come in any order; a missing one leaves its
// values as they were. On a missing or damaged file the user is told through `notices`
// ("Setup file do not exist. Default data loaded", or the error followed by
// " - Error in Setup file. Default data loaded") and LoadDefaultSetup runs; the values read
// before the damage stay where the defaults do not replace them. A damaged file that will
// be saved over is kept beside itself first (see keepCopyBeside) and the message names the
// copy, since that save puts the defaults in its place; any other file is left alone, and
// the message says that the defaults are now in use and that the program's own file is kept
// beside itself before they are saved over it (OwnSetupFile does that).
// True when the file loaded without error; `uncopied` when a damaged file that will be saved
// over could not be kept beside itself (a full disk), so that the save must keep it first.
struct SetupLoad {
    bool clean = true;
    bool uncopied = false;
    explicit operator bool() const { return clean; }
};
SetupLoad LoadSetupFile(Config& config, const std::string& path, NoticeSink& notices,
                        SavedOver savedOver = SavedOver::Yes);

// Whether `path` is a setup file at all: it holds at least one section line. A recording or
// any other file chosen by mistake does not. A file that cannot be read gives false with the
// reason in *error; a readable file without a section leaves *error empty.
bool HoldsSetupSection(const std::string& path, std::string* error = nullptr);

// The program's own setup file, which it saves over at exit and by File Save, and the rule
// for saving over it: a setup that did not come from that file cleanly never replaces the
// file the user has without a copy of it. Every load and save of the setup, at start-up,
// File Open, File Save, Save As and exit, goes through here.
class OwnSetupFile {
public:
    explicit OwnSetupFile(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }
    // Whether `other` names this file, by whatever name.
    bool is(const std::string& other) const;

    // Loads `from` through `load`, which is told whether the file will be saved over and
    // returns what it gave. A damaged own file is kept beside itself by the load
    // (LoadSetupFile), or, where that fails, by the next save; a setup that another file
    // failed to give leaves the own file owed a copy until a setup loads cleanly again.
    // Returns whether the file loaded cleanly.
    bool load(const std::string& from, const std::function<SetupLoad(SavedOver)>& load);
    // Saves through `save`, which writes `to` and throws a RuntimeError on failure. Before it
    // saves over the own file while that is owed a copy, the file as it is is kept beside
    // itself (keepCopyBeside); when no copy can be kept, nothing is saved. Returns what to
    // tell the user when nothing was saved ("The setup was not saved as <to> : <why>"), else
    // an empty text.
    std::string save(const std::string& to, const std::function<void()>& save);

private:
    std::string path_;
    bool copyOwed_ = false;
};

}  // namespace tiderune
