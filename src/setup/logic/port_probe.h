#pragma once
// The port probe of the setup dialog in ONLINE mode: the status of COM 1-16 ("free",
// "current", "busy", "none", "err ") found without opening a device that another program may
// own, and the items of the port list.
#include <string>

namespace tiderune {

// What is known of a COM port's device without opening it.
struct PortFacts {
    bool openHere = false;         // this program has it open
    bool exists = false;           // a character device at the port's path
    bool hasHardware = true;       // false for a legacy serial node with no UART behind it
    bool lockedElsewhere = false;  // a lock file of another living process names it
    bool accessible = true;        // we may read and write it
};

// Looks at the device path: the device node, the kernel's port type of a ttyS node, the
// usual lock files, the access rights.
PortFacts inspectSerialDevice(const std::string& devicePath);

struct ProbeResult {
    bool probed = false;  // the port could be opened and closed
    std::string status;
};
// A port this program holds is "current" when it is the dialog's system's port
// (`systemComPort`), else "busy"; a device held by another program is "busy"; a missing
// one "none"; one we may not use "err "; else "free".
ProbeResult probePort(const PortFacts& facts, int port, int systemComPort);

// Ports whose status is "free", "current" or "busy" are listed.
bool isListedStatus(const std::string& status);
// "COM 3 - free": the port in its Str form; OK looks for "busy" in this text.
std::string portListItem(int port, const std::string& status);

}  // namespace tiderune
