#pragma once
// A serial port as QSerialPort at a device path (a pty works as well as a real port).
// QSerialPort does not report break, framing or parity conditions; read and resource errors
// are passed on as line errors.
#include <QSerialPort>

#include "platform/serial_port.h"

namespace tiderune {

class QtSerialPort final : public SerialPort {
public:
    QtSerialPort(int comNumber, std::string devicePath);
    ~QtSerialPort() override;

    int comNumber() const override { return com_; }
    std::string devicePath() const override { return path_; }
    void setDevicePath(const std::string& path) override { path_ = path; }
    void setSettings(const std::string& text) override;
    std::string settings() const override { return settings_.text(); }
    void open() override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    void holdReading(bool hold) override;

    // The most the port takes in from the system before it is read.
    static constexpr qint64 ReadBufferSize = 64 * 1024;

private:
    bool apply();
    void readArrived();
    void errorArrived(QSerialPort::SerialPortError error);

    int com_;
    std::string path_;
    SerialSettings settings_;
    QSerialPort port_;
    bool held_ = false;
};

}  // namespace tiderune
