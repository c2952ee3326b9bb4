#pragma once
// The program folder: every file of the program lives below it. It is $TIDERUNE_HOME when
// that is set, else ~/Kestrelle/Tiderune/.
#include <filesystem>
#include <string>

namespace tiderune {

class AppFolder {
public:
    explicit AppFolder(std::filesystem::path root);

    // $TIDERUNE_HOME, else $HOME/Kestrelle/Tiderune (the current folder when HOME is unset).
    static AppFolder fromEnvironment();

    // Creates the folder (and its parents) when missing. Returns false and fills *error when
    // it cannot be created.
    bool ensureExists(std::string* error = nullptr) const;

    const std::filesystem::path& root() const { return root_; }
    // The folder as the messages show it: with a trailing "/".
    std::string text() const;

    std::filesystem::path setupFile() const { return root_ / "Tiderune.ini"; }
    std::filesystem::path referencePositionsFile() const { return root_ / "Reference Positions.txt"; }
    std::filesystem::path logFolder() const { return root_ / "log"; }
    std::filesystem::path reportsFolder() const { return root_ / "Reports"; }
    std::filesystem::path errorLogFolder() const { return root_ / "ErrorLog"; }
    std::filesystem::path errorLogFile() const { return errorLogFolder() / "ErrorLog.txt"; }

private:
    std::filesystem::path root_;
};

// Creates a folder and its parents when missing; false with *error filled on failure.
bool ensureFolder(const std::filesystem::path& folder, std::string* error = nullptr);

}  // namespace tiderune
