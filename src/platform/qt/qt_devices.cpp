#include "qt_devices.h"

#include "qt_serial_port.h"
#include "qt_sockets.h"

namespace tiderune {

QtTimer::QtTimer() {
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
        if (onTimeout) onTimeout();
    });
}

std::unique_ptr<SerialPort> QtDeviceFactory::makeSerialPort(int comNumber, const std::string& devicePath) {
    return std::make_unique<QtSerialPort>(comNumber, devicePath);
}
std::unique_ptr<TcpClient> QtDeviceFactory::makeTcpClient() { return std::make_unique<QtTcpClient>(); }
std::unique_ptr<UdpListener> QtDeviceFactory::makeUdpListener() { return std::make_unique<QtUdpListener>(); }
std::unique_ptr<Timer> QtDeviceFactory::makeTimer() { return std::make_unique<QtTimer>(); }

}  // namespace tiderune
