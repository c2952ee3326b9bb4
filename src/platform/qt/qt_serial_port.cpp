#include "qt_serial_port.h"

#include <sys/stat.h>
#include <unistd.h>

#include "core/errors.h"
#include "platform/qt/qt_edge.h"

namespace tiderune {

QtSerialPort::QtSerialPort(int comNumber, std::string devicePath) : com_(comNumber), path_(std::move(devicePath)) {
    port_.setReadBufferSize(ReadBufferSize);
    QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] { readArrived(); });
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError e) { errorArrived(e); });
}

QtSerialPort::~QtSerialPort() {
    QObject::disconnect(&port_, nullptr, nullptr, nullptr);
    if (port_.isOpen()) port_.close();
}

void QtSerialPort::setSettings(const std::string& text) {
    auto parsed = SerialSettings::parse(text);
    if (!parsed) throw RuntimeError(serr::InvalidPropertyValue, "Invalid property value");
    settings_ = *parsed;
    if (port_.isOpen() && !apply())
        throw RuntimeError(serr::CouldNotSetCommState, fromQt(port_.errorString()));
}

bool QtSerialPort::apply() {
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (settings_.parity) {
    case 'o': parity = QSerialPort::OddParity; break;
    case 'e': parity = QSerialPort::EvenParity; break;
    case 'm': parity = QSerialPort::MarkParity; break;
    case 's': parity = QSerialPort::SpaceParity; break;
    default: break;
    }
    const QSerialPort::StopBits stop = settings_.stopBits == "2"     ? QSerialPort::TwoStop
                                       : settings_.stopBits == "1.5" ? QSerialPort::OneAndHalfStop
                                                                     : QSerialPort::OneStop;
    bool ok = port_.setBaudRate(settings_.baud);
    ok = port_.setDataBits(static_cast<QSerialPort::DataBits>(settings_.dataBits)) && ok;
    ok = port_.setParity(parity) && ok;
    ok = port_.setStopBits(stop) && ok;
    ok = port_.setFlowControl(QSerialPort::NoFlowControl) && ok;
    return ok;
}

void QtSerialPort::open() {
    if (port_.isOpen()) throw RuntimeError(serr::PortAlreadyOpen, "Port already open");
    port_.setPortName(pathToQt(path_));
    held_ = false;
    apply();
    if (port_.open(QIODevice::ReadWrite)) {
        port_.clear(QSerialPort::Input);
        return;
    }
    const std::string description = fromQt(port_.errorString());
    const QSerialPort::SerialPortError error = port_.error();
    port_.clearError();
    struct stat st {};
    const bool isDevice = ::stat(path_.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
    if (!isDevice || error == QSerialPort::DeviceNotFoundError || error == QSerialPort::ResourceError)
        throw RuntimeError(serr::InvalidPortNumber, description);
    if (error == QSerialPort::PermissionError || error == QSerialPort::OpenError) {
        // Locked or held exclusively by another program: busy. A device we may not use at
        // all is another matter.
        if (::access(path_.c_str(), R_OK | W_OK) == 0) throw RuntimeError(serr::PortAlreadyOpen, description);
        throw RuntimeError(serr::HardwareNotAvailable, description);
    }
    throw RuntimeError(serr::CouldNotSetCommState, description);
}

void QtSerialPort::close() {
    if (port_.isOpen()) port_.close();
    port_.clearError();
    held_ = false;
}

void QtSerialPort::holdReading(bool hold) {
    if (hold == held_) return;
    held_ = hold;
    // A full buffer has stopped the port from reading and raises no more events: the read
    // that follows the release starts it again.
    if (!hold) QMetaObject::invokeMethod(&port_, [this] { readArrived(); }, Qt::QueuedConnection);
}

void QtSerialPort::readArrived() {
    if (held_ || !port_.isOpen()) return;
    const QByteArray data = port_.readAll();
    if (data.isEmpty()) return;
    if (onReceive) onReceive(bytesOf(data));
}

void QtSerialPort::errorArrived(QSerialPort::SerialPortError error) {
    if (!port_.isOpen()) return;  // opening failures are raised by open()
    if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError) {
        port_.clearError();
        if (onLineError) onLineError(error == QSerialPort::ReadError ? SerialLineError::Read : SerialLineError::Resource);
    }
}

}  // namespace tiderune
