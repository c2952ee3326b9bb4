#pragma once
// The source devices of the main window: 16 serial ports (index = COM port), one TCP client
// and one UDP listener per system. Opening them when ONLINE mode begins lives here; the
// receive handlers attach to the devices' callbacks.
#include <memory>
#include <string>

#include "core/indexed.h"
#include "platform/devices.h"

namespace tiderune {

class Shell;

class DataSources {
public:
    explicit DataSources(Shell& shell);

    // Opens the source of every system in use: TCP, else UDP, else its serial port. A source
    // that fails is reported and its system taken out of use.
    void OpenDataSources();
    // Opens COM port 1-16 at the device path the settings file gives now.
    void openSerial(int comPort);
    // Closes every open serial port.
    void closeSerialPorts();
    // Closes every TCP and UDP socket that is not closed.
    void closeSockets();

    SerialPort& serial(int comPort) { return *serial_[comPort]; }
    TcpClient& tcp(int system) { return *tcp_[system]; }
    UdpListener& udp(int system) { return *udp_[system]; }

private:
    void disable(int system, const std::string& description, const std::string& what);

    Shell& shell_;
    PerComPort<std::unique_ptr<SerialPort>> serial_;
    PerSystem<std::unique_ptr<TcpClient>> tcp_;
    PerSystem<std::unique_ptr<UdpListener>> udp_;
};

}  // namespace tiderune
