#pragma once
// Serial ports COM1-COM16. Each COM number maps to a device path that the user can set;
// opening and settings failures raise the error numbers the program's users know
// (8002 no such port, 8005 port already open, ...).
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tiderune {

class SettingsStore;

namespace serr {
inline constexpr int InvalidPropertyValue = 380;  // a settings text that cannot be used
inline constexpr int InvalidPortNumber = 8002;    // no such port
inline constexpr int PortAlreadyOpen = 8005;      // open here, or held by another program
inline constexpr int HardwareNotAvailable = 8010; // the device refuses us (permissions, ...)
inline constexpr int PortNotOpen = 8012;
inline constexpr int CouldNotSetCommState = 8015; // the device does not take the settings
}  // namespace serr

// A settings text such as "4800,n,8,1": baud, parity letter (n, o, e, m, s), data bits
// (5-8), stop bits (1, 1.5, 2).
struct SerialSettings {
    int baud = 9600;
    char parity = 'n';
    int dataBits = 8;
    std::string stopBits = "1";

    static std::optional<SerialSettings> parse(std::string_view text);
    std::string text() const;
    bool operator==(const SerialSettings&) const = default;
};

// The settings text of a COM port's configuration: the baud in plain digits, the first
// character of the parity name ("none", "odd", "even"), the data bits and the stop bits,
// separated by commas: 4800,n,8,1.
std::string serialSettingsText(long baud, std::string_view parityName, int dataBits, int stopBits);

// What the port reports besides received data. The device layer reports only some of the
// line conditions a serial port can have; every one of them empties the port's buffer.
enum class SerialLineError { Break, Framing, Overrun, ReceiveOverflow, Parity, Resource, Read };

class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual int comNumber() const = 0;
    virtual std::string devicePath() const = 0;
    // Where the port is opened next time; an open port keeps its device until it is closed.
    virtual void setDevicePath(const std::string& path) = 0;

    // Raises RuntimeError 380 when the text is not a valid settings text; on an open port
    // the new settings apply at once (8015 when the device refuses them).
    virtual void setSettings(const std::string& text) = 0;
    virtual std::string settings() const = 0;

    // Raises RuntimeError 8005 when the port is open already (here or in another program),
    // 8002 when the device does not exist, another number for other failures; the
    // description is the device layer's.
    virtual void open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // While held nothing is read: what arrives waits in the port's bounded buffer and then in
    // the system's, which holds back a writer that can be held back (a pseudo-terminal); a
    // real line's device goes on sending, and what the system cannot keep is lost there.
    // Releasing reads what waits, from the event loop. Opening and closing release it.
    virtual void holdReading(bool /*hold*/) {}

    // Everything received since the previous call, one character per byte; called once per
    // receive event.
    std::function<void(const std::string& received)> onReceive;
    std::function<void(SerialLineError)> onLineError;
};

// Where COM n lives: a path the user can set, kept in the settings store (section
// "SerialDevices", key "COM<n>"); by default /dev/ttyS<n-1>.
class SerialDeviceMap {
public:
    explicit SerialDeviceMap(SettingsStore& store) : store_(store) {}
    std::string devicePath(int comNumber) const;
    void setDevicePath(int comNumber, const std::string& path);
    static std::string defaultDevicePath(int comNumber);

private:
    SettingsStore& store_;
};

}  // namespace tiderune
