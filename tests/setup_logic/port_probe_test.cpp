#include "setup/logic/port_probe.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

namespace tiderune {
namespace {

TEST(PortProbe, StatusOfEachKindOfPort) {
    PortFacts free;
    free.exists = true;
    PortFacts here = free;
    here.openHere = true;
    PortFacts locked = free;
    locked.lockedElsewhere = true;
    PortFacts denied = free;
    denied.accessible = false;
    PortFacts noUart = free;
    noUart.hasHardware = false;
    const struct {
        PortFacts facts;
        int port, systemPort;
        bool probed;
        const char* status;
    } cases[] = {
        {free, 3, 0, true, "free"},   {here, 3, 3, false, "current"}, {here, 3, 5, false, "busy"},
        {locked, 3, 3, false, "busy"}, {denied, 3, 0, false, "err "}, {noUart, 1, 0, false, "none"},
        {PortFacts{}, 2, 0, false, "none"},
    };
    for (const auto& c : cases) {
        const ProbeResult r = probePort(c.facts, c.port, c.systemPort);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.probed, c.probed) << c.status;
        EXPECT_EQ(isListedStatus(r.status), r.status != "none" && r.status != "err ") << c.status;
    }
    EXPECT_EQ(portListItem(3, "free"), "COM 3 - free");
    EXPECT_EQ(portListItem(16, "busy"), "COM 16 - busy");
}

TEST(PortProbe, LooksAtDevicesWithoutOpeningThem) {
    int master = -1, slave = -1;
    char name[256];
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    const PortFacts pty = inspectSerialDevice(name);
    EXPECT_TRUE(pty.exists);
    EXPECT_TRUE(pty.hasHardware);
    EXPECT_FALSE(pty.lockedElsewhere);
    EXPECT_EQ(probePort(pty, 1, 0).status, "free");
    ::close(slave);
    ::close(master);
    EXPECT_EQ(probePort(inspectSerialDevice("/dev/tiderune-no-such-port"), 1, 0).status, "none");
    EXPECT_EQ(probePort(inspectSerialDevice("/etc/hostname"), 1, 0).status, "none");  // not a device
}

}  // namespace
}  // namespace tiderune
