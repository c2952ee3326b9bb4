#pragma once
// The timer as QTimer, and the factory of the Qt devices.
#include <QTimer>

#include "platform/devices.h"

namespace tiderune {

class QtTimer final : public Timer {
public:
    QtTimer();
    void setInterval(int milliseconds) override { timer_.setInterval(milliseconds); }
    int interval() const override { return timer_.interval(); }
    void start() override { timer_.start(); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

class QtDeviceFactory final : public DeviceFactory {
public:
    std::unique_ptr<SerialPort> makeSerialPort(int comNumber, const std::string& devicePath) override;
    std::unique_ptr<TcpClient> makeTcpClient() override;
    std::unique_ptr<UdpListener> makeUdpListener() override;
    std::unique_ptr<Timer> makeTimer() override;
};

}  // namespace tiderune
