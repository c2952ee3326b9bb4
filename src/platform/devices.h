#pragma once
// Makes the program's devices, so that the windows can be driven with other devices in tests.
#include <memory>

#include "serial_port.h"
#include "sockets.h"
#include "timer.h"

namespace tiderune {

class DeviceFactory {
public:
    virtual ~DeviceFactory() = default;
    // COM 1-16 at the device path of devicePath.
    virtual std::unique_ptr<SerialPort> makeSerialPort(int comNumber, const std::string& devicePath) = 0;
    virtual std::unique_ptr<TcpClient> makeTcpClient() = 0;
    virtual std::unique_ptr<UdpListener> makeUdpListener() = 0;
    virtual std::unique_ptr<Timer> makeTimer() = 0;
};

}  // namespace tiderune
