#include "app/data_sources.h"

#include "frame/logic/source_texts.h"
#include "frame/shell.h"
#include "core/errors.h"
#include "core/number_text.h"
#include "platform/serial_port.h"
#include "setup/logic/input_checks.h"

namespace tiderune {

namespace {

// The setup dialog checks a port it is given, but a setup file edited by hand or written by
// another program may hold any number; the sockets take 16 bits, so such a port would reach
// another port or fail with a reason that never names it.
bool isPortNumber(std::int32_t port) { return port >= 1 && port <= 65535; }

std::string invalidPortDescription(std::int32_t port) { return invalidPortMessage(std::to_string(port)); }

}  // namespace

DataSources::DataSources(Shell& shell) : shell_(shell) {
    SerialDeviceMap paths(shell.services.settings);
    for (int p = 1; p <= MaxComPorts; ++p) serial_[p] = shell.services.devices.makeSerialPort(p, paths.devicePath(p));
    for (int s = 1; s <= MaxSystems; ++s) {
        tcp_[s] = shell.services.devices.makeTcpClient();
        udp_[s] = shell.services.devices.makeUdpListener();
    }
}

void DataSources::disable(int system, const std::string& description, const std::string& what) {
    SystemSetup& sys = shell_.config.Systems[system];
    shell_.ask(description + what + " not available! System " + StrNumber(system) + " -" + sys.Name + " disabled");
    sys.InUse = false;
    sys.ComPort = 0;
}

void DataSources::openSerial(int comPort) {
    SerialPort& d = *serial_[comPort];
    if (!d.isOpen()) {
        // The user may have edited the device path in the settings file since the last opening.
        shell_.services.settings.reload();
        d.setDevicePath(SerialDeviceMap(shell_.services.settings).devicePath(comPort));
    }
    d.open();
}

void DataSources::OpenDataSources() {
    for (int s = 1; s <= MaxSystems; ++s) {
        SystemSetup& sys = shell_.config.Systems[s];
        if (!sys.InUse) continue;
        if (sys.UseTCP) {
            TcpClient& t = *tcp_[s];
            if (t.state() != SocketState::Closed) t.close();
            if (!isPortNumber(sys.TCPPort)) {
                // Told like a failed connection: the system stays in use, nothing is tried.
                shell_.ask(tcpErrorText(s, sockerr::AddressNotAvailable, invalidPortDescription(sys.TCPPort)));
                continue;
            }
            t.connectTo(sys.TCPHost, sys.TCPPort);
        } else if (sys.UseUDP) {
            UdpListener& u = *udp_[s];
            if (u.state() != SocketState::Closed) u.close();
            if (!isPortNumber(sys.UDPPort)) {
                // Port 0 would listen on whatever port the system picks, which no sender knows.
                disable(s, invalidPortDescription(sys.UDPPort), ". UDP Port " + StrNumber(sys.UDPPort));
                continue;
            }
            try {
                u.bind(sys.UDPPort);
            } catch (const RuntimeError& e) {
                disable(s, e.description(), ". UDP Port " + StrNumber(sys.UDPPort));
            }
        } else {
            const int port = sys.ComPort;
            const std::string what = ". Comport " + StrNumber(port);
            if (!PerComPort<int>::inRange(port)) {
                // Port 0 or beyond 16: no such port.
                disable(s, "Invalid Port Number", what);
                continue;
            }
            const ComportSetting& c = shell_.config.Comports[port];
            SerialPort& d = *serial_[port];
            // A refused settings text is reported, and the port is still opened.
            try {
                d.setSettings(serialSettingsText(c.Baud, c.Parity, c.DataBits, c.StopBits));
            } catch (const RuntimeError& e) {
                disable(s, e.description(), what);
            }
            try {
                openSerial(port);
            } catch (const RuntimeError& e) {
                disable(s, e.description(), what);
            }
        }
    }
}

void DataSources::closeSerialPorts() {
    for (int p = 1; p <= MaxComPorts; ++p)
        if (serial_[p]->isOpen()) serial_[p]->close();
}

void DataSources::closeSockets() {
    for (int s = 1; s <= MaxSystems; ++s) {
        if (tcp_[s]->state() != SocketState::Closed) tcp_[s]->close();
        if (udp_[s]->state() != SocketState::Closed) udp_[s]->close();
    }
}

}  // namespace tiderune
