#include "app_folder.h"

#include <cstdlib>
#include <system_error>

namespace tiderune {

AppFolder::AppFolder(std::filesystem::path root) : root_(std::move(root)) {}

AppFolder AppFolder::fromEnvironment() {
    if (const char* home = std::getenv("TIDERUNE_HOME"); home && *home) return AppFolder(home);
    std::filesystem::path base = ".";
    if (const char* home = std::getenv("HOME"); home && *home) base = home;
    return AppFolder(base / "Kestrelle" / "Tiderune");
}

bool AppFolder::ensureExists(std::string* error) const { return ensureFolder(root_, error); }

std::string AppFolder::text() const {
    std::string s = root_.string();
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

bool ensureFolder(const std::filesystem::path& folder, std::string* error) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return true;
    std::filesystem::create_directories(folder, ec);
    if (!ec && std::filesystem::is_directory(folder, ec)) return true;
    if (error) *error = ec ? ec.message() : std::string("Not a folder");
    return false;
}

}  // namespace tiderune
