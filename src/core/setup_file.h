#pragma once
// The setup file: the whole configuration between runs, in 20 sections each headed by a
// quoted "REM ..." line. The program saves it to "Tiderune.ini" in its folder on exit and on
// File Save (or to a chosen path on File Save As), and loads it at start-up and on File Open.
#include <string>

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
// copy, since that save puts the defaults in its place; any other file is left alone.
// Returns true when the file loaded without error.
bool LoadSetupFile(Config& config, const std::string& path, NoticeSink& notices,
                   SavedOver savedOver = SavedOver::Yes);

// Whether `path` is a setup file at all: it holds at least one section line. A recording or
// any other file chosen by mistake does not. A file that cannot be read gives false with the
// reason in *error; a readable file without a section leaves *error empty.
bool HoldsSetupSection(const std::string& path, std::string* error = nullptr);

}  // namespace tiderune
