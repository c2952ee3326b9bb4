#pragma once
// The common file open and save dialogs.
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tiderune {

struct FileDialogRequest {
    std::string title;
    // Pairs of description and pattern separated by "|", as the program writes them:
    // "Setup files (*.ini)|*.ini|All files (*.*)|*.*".
    std::string filter;
    std::string defaultExt;  // without the dot; added to a typed name that has no extension
    std::string initialDir;
    std::string fileName;    // proposed name
};

// Paths are the file system's own bytes, ready for the standard file streams.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> showOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> showSave(const FileDialogRequest& request) = 0;
};

// For tests: answers from a queue (nothing = cancel) and records every request.
class ScriptedFileDialogs final : public FileDialogs {
public:
    std::optional<std::string> showOpen(const FileDialogRequest& r) override { return next(r, true); }
    std::optional<std::string> showSave(const FileDialogRequest& r) override { return next(r, false); }

    struct Shown {
        FileDialogRequest request;
        bool open;
    };
    std::deque<std::optional<std::string>> answers;
    std::vector<Shown> shown;

private:
    std::optional<std::string> next(const FileDialogRequest& r, bool open) {
        shown.push_back({r, open});
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

// "Text (*.txt)|*.txt|All (*.*)|*.*" as description/pattern pairs; a trailing description
// without a pattern is dropped.
struct FileFilter {
    std::string description;
    std::string pattern;  // one or more patterns separated by ";"
};
std::vector<FileFilter> parseFileFilter(const std::string& filter);

}  // namespace tiderune
