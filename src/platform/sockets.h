#pragma once
// The TCP client and UDP listener of a system. States and error numbers are those of the
// Windows socket control the program's users know: the NMEA monitor shows the state number's
// meaning and the error message shows the number.
#include <functional>
#include <string>

namespace tiderune {

enum class SocketState {
    Closed = 0,
    Open = 1,
    Listening = 2,
    ConnectionPending = 3,
    ResolvingHost = 4,
    HostResolved = 5,
    Connecting = 6,
    Connected = 7,
    Closing = 8,
    Error = 9,
};

namespace sockerr {
inline constexpr int AccessDenied = 10013;
inline constexpr int AddressInUse = 10048;
inline constexpr int AddressNotAvailable = 10049;
inline constexpr int NetworkUnreachable = 10051;
inline constexpr int ConnectionAborted = 10053;
inline constexpr int ConnectionReset = 10054;
inline constexpr int NoBufferSpace = 10055;
inline constexpr int TimedOut = 10060;
inline constexpr int ConnectionRefused = 10061;
inline constexpr int HostNotFound = 11001;
}  // namespace sockerr

class TcpClient {
public:
    virtual ~TcpClient() = default;

    // Starts a connection; it completes or fails later (onConnected or onError).
    virtual void connectTo(const std::string& host, int port) = 0;
    // Closes at once; no event follows.
    virtual void close() = 0;
    virtual SocketState state() const = 0;
    virtual std::string remoteHost() const = 0;
    virtual int remotePort() const = 0;
    // While held nothing is read: what arrives waits in the socket's bounded buffer and then in
    // the system's, and TCP holds the peer back, so nothing is lost. Releasing reads what waits,
    // from the event loop. A client that cannot hold reads on.
    virtual void holdReading(bool /*hold*/) {}

    // Each data arrival: everything received since the previous one.
    std::function<void(const std::string& data)> onData;
    std::function<void()> onConnected;
    // The peer closed the connection in the ordinary way; the socket is closed now. This is
    // not an error.
    std::function<void()> onPeerClosed;
    // A failed connection or a broken one: number and description. The socket is left in
    // state Error until it is closed or connected again.
    std::function<void(int number, const std::string& description)> onError;
};

class UdpListener {
public:
    virtual ~UdpListener() = default;

    // Listens on the local port on every address. Raises RuntimeError (10048 when the port is
    // in use, another socket number otherwise) when it cannot.
    virtual void bind(int localPort) = 0;
    virtual void close() = 0;
    // Closed or Open (bound).
    virtual SocketState state() const = 0;
    virtual int localPort() const = 0;

    // One call per datagram.
    std::function<void(const std::string& datagram)> onDatagram;
};

}  // namespace tiderune
