#include "app/data_sources.h"

#include "frame/shell.h"
#include "core/errors.h"
#include "core/number_text.h"
#include "platform/serial_port.h"

namespace tiderune {

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
            t.connectTo(sys.TCPHost, sys.TCPPort);
        } else if (sys.UseUDP) {
            UdpListener& u = *udp_[s];
            if (u.state() != SocketState::Closed) u.close();
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
