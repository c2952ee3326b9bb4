#include "setup/logic/setup_apply.h"

#include <cmath>
#include <cstdlib>

#include "frame/logic/source_texts.h"
#include "core/errors.h"
#include "core/number_text.h"
#include "platform/serial_port.h"
#include "setup/logic/input_checks.h"
#include "setup/logic/reference_file.h"
#include "setup/logic/setup_form.h"

namespace tiderune {

std::optional<SetupRefusal> checkSetupValues(const SetupValues& v, const std::string& mode) {
    if (v.source == 1) {
        if (!isValidIPv4(v.ip)) return SetupRefusal{SetupField::IP, invalidIPMessage(v.ip)};
        if (!checkedPortText(v.tcpPort)) return SetupRefusal{SetupField::TcpPort, invalidPortMessage(v.tcpPort)};
    } else if (v.source == 2) {
        if (!checkedPortText(v.udpPort)) return SetupRefusal{SetupField::UdpPort, invalidPortMessage(v.udpPort)};
    }
    if (v.svsTicked && isRefusedLimit(v.svs)) return SetupRefusal{SetupField::Svs, zeroLimitMessage(LimitList::Svs)};
    if (v.hdopTicked && isRefusedLimit(v.hdop)) return SetupRefusal{SetupField::Hdop, zeroLimitMessage(LimitList::Hdop)};
    if (v.outliersTicked && isRefusedLimit(v.outliers))
        return SetupRefusal{SetupField::Outliers, zeroLimitMessage(LimitList::Outliers)};
    if (!isStorableReferenceName(v.refName)) return SetupRefusal{SetupField::RefName, UnstorableReferenceNameMessage};
    if (storedSentenceNames(v.sentences).size() > static_cast<std::size_t>(SavedMessageSlots))
        return SetupRefusal{SetupField::Sentences, TooManySentencesMessage};
    if (v.enabled && mode == "ONLINE" && v.source == 0 && !v.comPort)
        return SetupRefusal{SetupField::ComPort, NoComPortMessage};
    return std::nullopt;
}

namespace {

std::int32_t wholeNumber(const std::string& text) {
    std::int32_t n = 0;
    if (!toLong(roundHalfEven(ValDecimal(text)), n)) n = 0;
    return n;
}

class Apply {
public:
    Apply(const SetupValues& v, Config& c, SetupSession& session)
        : v_(v), c_(c), session_(session), s_(v.system), sys_(c.Systems[v.system]) {}

    bool run() {
        if (session_.ask({ConfirmSetupQuestion, {}, MessageButtons::YesNo, MessageIcon::Question,
                          MessageAnswer::Yes}) != MessageAnswer::Yes)
            return false;
        sourceChoice();
        if (!serialPort()) return false;
        enabledFlag();
        sys_.Name = v_.name;
        if (v_.kind >= 0 && v_.kind < 8) sys_.Kind = sourceKinds()[v_.kind].kind;
        sentenceList();
        statusPanels();
        reference();
        tcpSocket();
        udpSocket();
        limits();
        if (c_.Mode == "OFFLINE" && v_.enabled) sys_.OfflineFile = v_.offlineFile;
        if (c_.Mode == "OFFLINE") session_.reshowOfflineStatus();
        session_.resetAfterSetup();
        reopenWindows();
        session_.updateSetupMenu(s_);
        storeReference();
        return true;
    }

private:
    bool online() const { return c_.Mode == "ONLINE"; }

    void tell(const std::string& text, MessageIcon icon = MessageIcon::None) {
        session_.ask({text, {}, MessageButtons::Ok, icon, MessageAnswer::Ok});
    }

    void sourceChoice() {
        // Without a source option (OFFLINE mode hides them) the stored source stays as it is.
        if (v_.source < 0) return;
        if (v_.source == 0) {
            sys_.UseTCP = false;
            sys_.UseUDP = false;
        } else if (v_.source == 1) {
            sys_.UseTCP = true;
            sys_.TCPHost = v_.ip;
            sys_.TCPPort = wholeNumber(v_.tcpPort);
            sys_.UseUDP = false;
        } else {
            sys_.UseUDP = true;
            sys_.UDPPort = wholeNumber(v_.udpPort);
            sys_.UseTCP = false;
        }
    }

    // The serial port that feeds this system and no other: open for it, and not handed to
    // another system.
    bool ownsPort(int p) const {
        if (!PerComPort<int>::inRange(p)) return false;
        const int owner = c_.Comports[p].AssignedSystem;
        return owner == s_ || owner == 0;
    }

    // Two sources never feed one system: the port the system used before is closed and
    // freed when it takes another port or another kind of source.
    void releasePort(int p) {
        if (!ownsPort(p)) return;
        if (session_.isSerialOpen(p)) session_.closeSerial(p);
        c_.Comports[p].AssignedSystem = 0;
    }

    void takeOutOfUse() {
        sys_.InUse = false;
        failed_ = true;
    }

    bool serialPort() {
        const int before = sys_.ComPort;
        if (!online()) return true;
        if (!(v_.enabled && v_.source == 0)) {
            // A system that now reads a socket lets its serial port go.
            if (v_.source > 0) releasePort(before);
            return true;
        }
        if (v_.comPortItem.find("busy") != std::string::npos) {
            tell(BusyPortMessage, MessageIcon::Critical);
            sys_.InUse = false;
            releasePort(before);
            sys_.ComPort = 0;
            // Out of use means no source at all.
            if (session_.tcpState(s_) != SocketState::Closed) session_.closeTcp(s_);
            if (session_.udpState(s_) != SocketState::Closed) session_.closeUdp(s_);
            return false;
        }
        const int p = *v_.comPort;
        if (!PerComPort<int>::inRange(p)) return true;
        if (before != p) releasePort(before);
        sys_.ComPort = static_cast<std::int16_t>(p);
        if (session_.isSerialOpen(p)) session_.closeSerial(p);
        ComportSetting& port = c_.Comports[p];
        port.AssignedSystem = static_cast<std::int16_t>(s_);
        port.Baud = wholeNumber(v_.baud);
        port.DataBits = static_cast<std::int16_t>(wholeNumber(v_.dataBits));
        port.StopBits = static_cast<std::int16_t>(wholeNumber(v_.stopBits));
        port.Parity = v_.parity;
        try {
            session_.setSerialSettings(p, serialSettingsText(port.Baud, port.Parity, port.DataBits, port.StopBits));
            session_.openSerial(p);
        } catch (const RuntimeError& e) {
            tell(sourceNotAvailableText(e.description(), SourceKind::Serial, p, s_, v_.name));
            if (session_.isSerialOpen(p)) session_.closeSerial(p);
            port.AssignedSystem = 0;
            sys_.ComPort = 0;
            takeOutOfUse();
        }
        return true;
    }

    void enabledFlag() {
        if (v_.enabled) {
            sys_.InUse = !failed_;
            return;
        }
        sys_.InUse = false;
        if (sys_.ComPort != 0) releasePort(sys_.ComPort);
        sys_.ComPort = 0;
        for (int word : {VisibleForms::Numerics, VisibleForms::Statistics, VisibleForms::SNRStatistics,
                         VisibleForms::NMEAMonitor})
            if (c_.WindowVisible[s_][word]) session_.unloadWindow(word, s_);
    }

    void sentenceList() {
        auto& slots = c_.MessagesToAnalyse[s_];
        for (int i = 1; i <= MessageSlots; ++i) slots[i].clear();
        int slot = 1;
        for (const std::string& name : storedSentenceNames(v_.sentences))
            if (slot <= MessageSlots) slots[slot++] = name;
        c_.SetTimeFromPC[s_] = noPositionSentence(v_.sentences);
        session_.setAnalysedMessageTypes(s_);
    }

    void statusPanels() {
        const int checksumPanel = s_ + 3, ignoredPanel = s_ + 8;
        if (!v_.enabled) {
            session_.setPanel(checksumPanel, false, "");
            session_.setPanel(ignoredPanel, false, "");
            return;
        }
        c_.ChecksumTest[s_] = v_.checksumTest;
        session_.setPanel(checksumPanel, true, v_.checksumTest ? StrNumber(static_cast<long long>(session_.checksumRejected(s_))) : "n/a");
        c_.EmptyBuffer[s_] = v_.emptyBuffer && online();
        session_.setPanel(ignoredPanel, true, c_.EmptyBuffer[s_] ? StrNumber(static_cast<long long>(session_.ignoredCount(s_))) : "n/a");
    }

    double angle(LatLonAxis axis, const std::string& text, const std::optional<double>& exact) {
        if (exact) return *exact;
        std::string t = text;
        return parseLatLonBox(c_, axis, t, session_.notices());
    }

    void reference() {
        if (v_.referenceMode >= 0 && v_.referenceMode <= 2) c_.ReferenceMode[s_] = static_cast<std::int16_t>(v_.referenceMode);
        c_.ReferenceName[s_] = v_.refName;
        c_.ReferenceLat[s_] = angle(LatLonAxis::Lat, v_.lat, v_.latExact);
        c_.ReferenceLon[s_] = angle(LatLonAxis::Lon, v_.lon, v_.lonExact);
        c_.ReferenceHeight[s_] = v_.heightExact ? *v_.heightExact : static_cast<float>(ValDecimal(v_.height));
        c_.ReferenceHeading[s_] = static_cast<float>(ValDecimal(v_.heading));
        c_.ReferencePitch[s_] = static_cast<float>(ValDecimal(v_.pitch));
        c_.ReferenceRoll[s_] = static_cast<float>(ValDecimal(v_.roll));
    }

    void tcpSocket() {
        if (session_.tcpState(s_) != SocketState::Closed) session_.closeTcp(s_);
        if (!(online() && sys_.UseTCP && sys_.InUse)) return;
        for (int k = 1; k <= MaxSystems; ++k) {
            const SystemSetup& o = c_.Systems[k];
            if (k != s_ && o.TCPHost == sys_.TCPHost && o.TCPPort == sys_.TCPPort && o.InUse && o.UseTCP)
                tell("Warning! System" + StrNumber(k) + " has the same IP address and portno. A conflict will occure.",
                     MessageIcon::Information);
        }
        session_.connectTcp(s_, sys_.TCPHost, sys_.TCPPort);
    }

    void udpSocket() {
        if (session_.udpState(s_) != SocketState::Closed) session_.closeUdp(s_);
        if (!(online() && sys_.UseUDP && sys_.InUse)) return;
        bool conflict = false;
        for (int k = 1; k <= MaxSystems; ++k) {
            const SystemSetup& o = c_.Systems[k];
            if (k != s_ && o.UDPPort == sys_.UDPPort && o.InUse && o.UseUDP) {
                tell("Warning! System" + StrNumber(k) + " has the same UDP portno. A conflict will occure.",
                     MessageIcon::Information);
                conflict = true;
            }
        }
        if (conflict) {
            tell("UDP port" + StrNumber(static_cast<long long>(sys_.UDPPort)) + " not opened. Select another port number!");
            return;
        }
        try {
            session_.bindUdp(s_, sys_.UDPPort);
        } catch (const RuntimeError& e) {
            tell(sourceNotAvailableText(e.description(), SourceKind::Udp, sys_.UDPPort, s_, sys_.Name));
            sys_.ComPort = 0;
            takeOutOfUse();
        }
    }

    void limits() {
        c_.OutlierLimit = v_.outliersTicked ? std::fabs(static_cast<float>(ValDecimal(v_.outliers))) : 0.0f;
        c_.HdopLimit = v_.hdopTicked ? std::fabs(static_cast<float>(ValDecimal(v_.hdop))) : 0.0f;
        std::int16_t svs = 0;
        if (v_.svsTicked && !toInteger(roundHalfEven(std::fabs(ValDecimal(v_.svs))), svs)) svs = 0;
        c_.MinSatellites = svs;
        c_.NoDifferentialGPS = v_.noDiff;
    }

    void reopenWindows() {
        for (int k = 1; k <= MaxSystems; ++k) {
            const VisibleForms& w = c_.WindowVisible[k];
            if (w[VisibleForms::Numerics]) session_.reloadWindow(VisibleForms::Numerics, k);
            if (w[VisibleForms::Statistics]) {
                session_.reloadWindow(VisibleForms::Statistics, k);
                if (c_.Systems[k].GSVAnalysed) session_.reloadWindow(VisibleForms::SNRStatistics, k);
            }
            if (c_.WindowVisible[k][VisibleForms::NMEAMonitor]) session_.refreshMonitorSource(k);
        }
    }

    void storeReference() {
        if (!v_.refChanged) return;
        const ReferenceRecord r{c_.ReferenceName[s_], c_.ReferenceLat[s_], c_.ReferenceLon[s_], c_.ReferenceHeight[s_]};
        ReferenceUpdate u = UpdateReferenceFile(session_.appFolder(), r, [this](const std::string& m) { tell(m); });
        if (!u.written) tell(u.error, MessageIcon::Critical);
    }

    const SetupValues& v_;
    Config& c_;
    SetupSession& session_;
    const int s_;
    SystemSetup& sys_;
    bool failed_ = false;
};

}  // namespace

bool applySetup(const SetupValues& v, Config& config, SetupSession& session) {
    if (!isValidSystem(v.system)) return false;
    return Apply(v, config, session).run();
}

}  // namespace tiderune
