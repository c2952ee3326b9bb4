#pragma once
// OK of the setup dialog: what the dialog shows is checked once more, then copied into the
// configuration of its system, and the system's sources, the status panels, the windows and
// the Setup menu follow, in the program's fixed order.
#include <optional>
#include <string>

#include "core/config.h"
#include "core/notices.h"
#include "platform/message_box.h"
#include "platform/sockets.h"
#include "setup/logic/sentence_rules.h"

namespace tiderune {

// What the dialog shows when OK is pressed.
struct SetupValues {
    int system = 1;
    int source = 0;                 // 0 serial port, 1 TCP/IP, 2 UDP, -1 none shown (OFFLINE)
    std::optional<int> comPort;     // the selected port item's number; none without a selection
    std::string comPortItem;        // its text, "COM 3 - free"
    std::string baud = "4800", dataBits = "8", stopBits = "1", parity = "none";
    std::string ip, tcpPort, udpPort;
    bool enabled = false;
    std::string name;
    int kind = -1;  // the chosen kind option, -1 none
    TickedBoxes sentences;
    bool checksumTest = false;
    bool emptyBuffer = false;
    int referenceMode = -1;  // the chosen reference option, -1 none
    std::string refName, lat, lon, height, heading, pitch, roll;
    // The exact values behind the latitude, longitude and height texts when the user did not
    // edit them.
    std::optional<double> latExact, lonExact;
    std::optional<float> heightExact;
    bool outliersTicked = false, hdopTicked = false, svsTicked = false, noDiff = false;
    std::string outliers, hdop, svs;
    std::string offlineFile;
    bool refChanged = false;
};

enum class SetupField { ComPort, IP, TcpPort, UdpPort, Hdop, Svs, Outliers, RefName, Sentences };
struct SetupRefusal {
    SetupField field;
    std::string message;
};
// The checks of the inputs, again, before anything changes: the source's address and ports,
// the ticked limits, the reference name, at most ten stored sentence types (the setup file
// keeps ten), and a serial source needs a port to select.
std::optional<SetupRefusal> checkSetupValues(const SetupValues& v, const std::string& mode);

inline constexpr const char* ConfirmSetupQuestion =
    "Are you sure? All statistics and graphics will be reset.(Remember to open relevant windows for display under Window)";
inline constexpr const char* BusyPortMessage = "You have selected a comport which is busy! Please, select another comport!";
inline constexpr const char* NoComPortMessage =
    "There is no comport to select on this computer! Please, select TCP/IP or UDP!";
inline constexpr const char* TooManySentencesMessage =
    "No more than 10 NMEA messages can be selected for analysis!";

// What OK changes outside the configuration: the main window's sources, panels, windows and
// menu. The session control implements it.
class SetupSession {
public:
    virtual ~SetupSession() = default;
    virtual MessageAnswer ask(const MessageRequest& request) = 0;
    // The parsers' messages about a latitude or longitude text.
    virtual NoticeSink& notices() = 0;
    virtual std::string appFolder() = 0;  // with its trailing "/"

    virtual bool isSerialOpen(int port) = 0;
    virtual void closeSerial(int port) = 0;
    // Both raise RuntimeError with the device's description.
    virtual void setSerialSettings(int port, const std::string& settings) = 0;
    virtual void openSerial(int port) = 0;

    virtual SocketState tcpState(int system) = 0;
    virtual void closeTcp(int system) = 0;
    virtual void connectTcp(int system, const std::string& host, int port) = 0;
    virtual SocketState udpState(int system) = 0;
    virtual void closeUdp(int system) = 0;
    virtual void bindUdp(int system, int port) = 0;  // raises RuntimeError

    virtual void setAnalysedMessageTypes(int system) = 0;
    // Closes an open window of a system, by its word of WindowVisible (numerics 0,
    // statistics 2, statistics SNR 3, NMEA monitor 4).
    virtual void unloadWindow(int word, int system) = 0;
    // Status panels 1-13 of the main window.
    virtual void setPanel(int panel, bool shown, const std::string& text) = 0;
    virtual long checksumRejected(int system) = 0;
    virtual long ignoredCount(int system) = 0;
    virtual void reshowOfflineStatus() = 0;
    // ResetAll with the start-up flag cleared, then ResetGraphics with it set.
    virtual void resetAfterSetup() = 0;
    // Closes and shows afresh a window of a system (numerics 0, statistics 2, statistics SNR 3).
    virtual void reloadWindow(int word, int system) = 0;
    // The open monitor of a system shows its source again (and polls a TCP connection).
    virtual void refreshMonitorSource(int system) = 0;
    virtual void updateSetupMenu(int system) = 0;
};

// OK after the checks: true when the setup was applied (the dialog closes), false when the
// dialog stays open (No at the question, a busy port).
bool applySetup(const SetupValues& v, Config& config, SetupSession& session);

}  // namespace tiderune
