#include "setup/logic/port_probe.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>

#include "core/number_text.h"

namespace tiderune {

namespace {
std::string baseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A serial-core node reports its UART type; 0 means no port behind the node.
bool uartPresent(const std::string& name) {
    if (name.rfind("ttyS", 0) != 0) return true;
    std::ifstream in("/sys/class/tty/" + name + "/type");
    int type = -1;
    if (!(in >> type)) return true;
    return type != 0;
}

// The lock files of the UUCP convention, which the serial libraries use: the process id
// in text (or, in the old form, as a binary int).
bool lockedByOtherProcess(const std::string& name) {
    static const char* const Folders[] = {"/var/lock/", "/run/lock/", "/etc/locks/", "/var/spool/locks/",
                                          "/var/spool/uucp/", "/tmp/"};
    for (const char* folder : Folders) {
        std::ifstream in(std::string(folder) + "LCK.." + name, std::ios::binary);
        if (!in) continue;
        std::string text((std::istreambuf_iterator<char>(in)), {});
        long pid = 0;
        bool digits = false;
        for (char c : text) {
            if (c >= '0' && c <= '9') {
                pid = pid * 10 + (c - '0');
                digits = true;
                if (pid > 1 << 22) break;
            } else if (digits) {
                break;
            }
        }
        if (!digits && text.size() == sizeof(int)) {
            int binary = 0;
            std::memcpy(&binary, text.data(), sizeof binary);
            pid = binary;
        }
        if (pid <= 0 || pid == static_cast<long>(::getpid())) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM) return true;
    }
    return false;
}
}  // namespace

PortFacts inspectSerialDevice(const std::string& path) {
    PortFacts f;
    struct stat st {};
    f.exists = !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
    if (!f.exists) return f;
    const std::string name = baseName(path);
    f.hasHardware = uartPresent(name);
    f.lockedElsewhere = lockedByOtherProcess(name);
    f.accessible = ::access(path.c_str(), R_OK | W_OK) == 0;
    return f;
}

ProbeResult probePort(const PortFacts& f, int port, int systemComPort) {
    if (f.openHere) return {false, port == systemComPort ? "current" : "busy"};
    if (!f.exists || !f.hasHardware) return {false, "none"};
    if (f.lockedElsewhere) return {false, "busy"};
    if (!f.accessible) return {false, "err "};
    return {true, "free"};
}

bool isListedStatus(const std::string& s) { return s == "free" || s == "current" || s == "busy"; }

std::string portListItem(int port, const std::string& status) { return "COM" + StrNumber(port) + " - " + status; }

}  // namespace tiderune
