#include "setup/logic/setup_apply.h"

#include <gtest/gtest.h>

#include <set>

#include "core/errors.h"
#include "setup/logic/reference_file.h"
#include "temp_folder.h"

namespace tiderune {
namespace {

using B = SentenceBox;

// Keeps what OK did to the session, in order, and plays the devices.
class RecordingSession final : public SetupSession {
public:
    MessageAnswer ask(const MessageRequest& r) override {
        calls.push_back("ask " + r.text);
        if (r.buttons == MessageButtons::YesNo) return confirm ? MessageAnswer::Yes : MessageAnswer::No;
        return MessageAnswer::Ok;
    }
    NoticeSink& notices() override { return nullNotices; }
    std::string appFolder() override { return folder; }
    bool isSerialOpen(int p) override { return open.count(p) > 0; }
    void closeSerial(int p) override { open.erase(p); calls.push_back("close COM" + std::to_string(p)); }
    void setSerialSettings(int p, const std::string& s) override { calls.push_back("settings COM" + std::to_string(p) + " " + s); }
    void openSerial(int p) override {
        if (failing.count(p)) throw RuntimeError(8002, "No such device");
        open.insert(p);
        calls.push_back("open COM" + std::to_string(p));
    }
    SocketState tcpState(int s) override { return tcp.count(s) ? SocketState::Connecting : SocketState::Closed; }
    void closeTcp(int s) override { tcp.erase(s); calls.push_back("close TCP " + std::to_string(s)); }
    void connectTcp(int s, const std::string& h, int p) override {
        tcp.insert(s);
        calls.push_back("connect " + std::to_string(s) + " " + h + ":" + std::to_string(p));
    }
    SocketState udpState(int s) override { return udp.count(s) ? SocketState::Open : SocketState::Closed; }
    void closeUdp(int s) override { udp.erase(s); calls.push_back("close UDP " + std::to_string(s)); }
    void bindUdp(int s, int p) override {
        if (bindFails) throw RuntimeError(10048, "Address in use");
        udp.insert(s);
        calls.push_back("bind " + std::to_string(s) + " " + std::to_string(p));
    }
    void setAnalysedMessageTypes(int s) override { calls.push_back("analysed " + std::to_string(s)); }
    void unloadWindow(int w, int s) override { calls.push_back("unload " + std::to_string(w) + " " + std::to_string(s)); }
    void setPanel(int p, bool shown, const std::string& t) override {
        calls.push_back("panel " + std::to_string(p) + (shown ? " " + t : " hidden"));
    }
    long checksumRejected(int) override { return 7; }
    long ignoredCount(int) override { return 3; }
    void reshowOfflineStatus() override { calls.push_back("offline status"); }
    void resetAfterSetup() override { calls.push_back("reset"); }
    void reloadWindow(int w, int s) override { calls.push_back("reload " + std::to_string(w) + " " + std::to_string(s)); }
    void refreshMonitorSource(int s) override { calls.push_back("monitor " + std::to_string(s)); }
    void updateSetupMenu(int s) override { calls.push_back("menu " + std::to_string(s)); }

    bool has(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }

    std::vector<std::string> calls;
    bool confirm = true;
    std::set<int> open, failing, tcp, udp;
    bool bindFails = false;
    std::string folder;
    NullNoticeSink nullNotices;
};

class ApplySetup : public ::testing::Test {
protected:
    ApplySetup() {
        session.folder = dir.path().string() + "/";
        c.Mode = "ONLINE";
        v.system = 1;
        v.enabled = true;
        v.name = "GPS";
        v.kind = 0;
        v.comPort = 3;
        v.comPortItem = "COM 3 - free";
        v.ip = "127.0.0.1";
        v.tcpPort = " 8040";
        v.udpPort = " 1000";
        v.referenceMode = 2;
        v.refName = "Quay";
        v.lat = "59\xB0 25.0000' N";
        v.lon = "010\xB0 30.0000' E";
        v.height = "6.300";
        v.heading = "183.70";
        v.pitch = v.roll = "0.00";
        c.LatLonDecimals = 4;
    }
    bool ok() { return applySetup(v, c, session); }

    test::TempFolder dir;
    Config c;
    SetupValues v;
    RecordingSession session;
};

TEST_F(ApplySetup, NoAtTheQuestionChangesNothing) {
    session.confirm = false;
    c.Systems[1].Name = "old";
    EXPECT_FALSE(ok());
    EXPECT_EQ(c.Systems[1].Name, "old");
    EXPECT_EQ(session.calls.size(), 1u);
}

TEST_F(ApplySetup, SerialSystemInTheProgramsOrder) {
    v.sentences = TickedBoxes().set(static_cast<int>(B::GSV)).set(static_cast<int>(B::VTG)).set(static_cast<int>(B::GGA));
    v.checksumTest = v.emptyBuffer = true;
    c.WindowVisible[1][VisibleForms::Statistics] = true;
    c.WindowVisible[2][VisibleForms::NMEAMonitor] = true;
    c.Systems[1].GSVAnalysed = true;  // as SetAnalysedMessageTypes leaves it
    v.refChanged = true;
    // The system moves from COM 5, which it leaves closed and free.
    c.Systems[1].ComPort = 5;
    c.Comports[5].AssignedSystem = 1;
    session.open = {5};
    ASSERT_TRUE(ok());
    const std::vector<std::string> expected = {
        "ask " + std::string(ConfirmSetupQuestion), "close COM5",
        "settings COM3 4800,n,8,1", "open COM3", "analysed 1", "panel 4  7", "panel 9  3",
        "reset", "reload 2 1", "reload 3 1", "monitor 2", "menu 1"};
    EXPECT_EQ(session.calls, expected);
    EXPECT_TRUE(c.Systems[1].InUse);
    EXPECT_EQ(c.Systems[1].Kind, "GPS/GLONASS");
    EXPECT_EQ(c.Comports[3].AssignedSystem, 1);
    EXPECT_EQ(c.Comports[5].AssignedSystem, 0);
    EXPECT_EQ(c.MessagesToAnalyse[1][1], "GGA");
    EXPECT_EQ(c.MessagesToAnalyse[1][2], "VTG");
    EXPECT_EQ(c.MessagesToAnalyse[1][3], "GSV");
    EXPECT_EQ(c.MessagesToAnalyse[1][4], "");
    EXPECT_FALSE(c.SetTimeFromPC[1]);
    EXPECT_NEAR(c.ReferenceLat[1] * 57.29577951307855, 59 + 25.0 / 60, 1e-9);
    EXPECT_FLOAT_EQ(c.ReferenceHeading[1], 183.7f);
    EXPECT_EQ(readReferenceRecords(session.folder + ReferenceFileName).size(), 1u);
}

TEST_F(ApplySetup, MovingToTcpFreesTheOldPortAndConnects) {
    c.Systems[1].ComPort = 3;
    c.Comports[3].AssignedSystem = 1;
    session.open = {3};
    // Only system 2 shares both host and port.
    const std::pair<const char*, int> others[] = {{"127.0.0.1", 8040}, {"127.0.0.1", 8041}, {"127.0.0.2", 8040}};
    for (int k = 2; k <= 4; ++k) {
        SystemSetup& o = c.Systems[k];
        o.InUse = o.UseTCP = true;
        o.TCPHost = others[k - 2].first;
        o.TCPPort = others[k - 2].second;
    }
    v.source = 1;
    ASSERT_TRUE(ok());
    EXPECT_TRUE(session.has("close COM3"));
    EXPECT_EQ(c.Comports[3].AssignedSystem, 0);
    std::vector<std::string> warnings;
    for (const std::string& call : session.calls)
        if (call.starts_with("ask Warning")) warnings.push_back(call);
    EXPECT_EQ(warnings, std::vector<std::string>{
                            "ask Warning! System 2 has the same IP address and portno. A conflict will occure."});
    EXPECT_TRUE(session.has("connect 1 127.0.0.1:8040"));
    EXPECT_TRUE(c.Systems[1].UseTCP);
}

TEST_F(ApplySetup, ABusyPortTakesTheSystemOutOfUseAndClosesItsSources) {
    c.Systems[1].InUse = true; c.Systems[1].ComPort = 5;
    c.Comports[5].AssignedSystem = 1;
    session.open = {5};
    session.tcp = {1};
    v.comPortItem = "COM 3 - busy";
    EXPECT_FALSE(ok());
    EXPECT_TRUE(session.has("ask " + std::string(BusyPortMessage)));
    EXPECT_FALSE(c.Systems[1].InUse);
    EXPECT_EQ(c.Systems[1].ComPort, 0);
    EXPECT_TRUE(session.open.empty());
    EXPECT_TRUE(session.tcp.empty());
    EXPECT_FALSE(session.has("reset"));
}

TEST_F(ApplySetup, AFailedSerialOpenIsReportedAndTakesTheSystemOutOfUse) {
    session.failing = {3};
    ASSERT_TRUE(ok());
    EXPECT_TRUE(session.has("ask No such device. Comport  3 not available! System  1 -GPS disabled"));
    EXPECT_FALSE(c.Systems[1].InUse);
    EXPECT_EQ(c.Systems[1].ComPort, 0);
    EXPECT_EQ(c.Comports[3].AssignedSystem, 0);
    EXPECT_TRUE(session.has("menu 1"));
}

TEST_F(ApplySetup, AFailedUdpBindIsReportedAndTakesTheSystemOutOfUse) {
    c.Systems[1].InUse = true;
    v.source = 2;
    session.bindFails = true;
    ASSERT_TRUE(ok());
    EXPECT_TRUE(session.has("ask Address in use. UDP Port  1000 not available! System  1 -GPS disabled"));
    EXPECT_FALSE(c.Systems[1].InUse);
}

TEST_F(ApplySetup, ASecondUdpSystemOnTheSamePortIsNotBound) {
    c.Systems[3].InUse = true; c.Systems[3].UseUDP = true; c.Systems[3].UDPPort = 1000;
    v.source = 2;
    ASSERT_TRUE(ok());
    EXPECT_TRUE(session.has("ask Warning! System 3 has the same UDP portno. A conflict will occure."));
    EXPECT_TRUE(session.has("ask UDP port 1000 not opened. Select another port number!"));
    EXPECT_TRUE(session.udp.empty());
    EXPECT_TRUE(c.Systems[1].InUse);
}

TEST_F(ApplySetup, SwitchingOffClosesThePortAndTheWindows) {
    c.Systems[1].InUse = true; c.Systems[1].ComPort = 3;
    c.Comports[3].AssignedSystem = 1;
    session.open = {3};
    c.ChecksumTest[1] = true;
    for (int w : {0, 2, 3, 4}) c.WindowVisible[1][w] = true;
    v.enabled = false;
    v.checksumTest = false;
    ASSERT_TRUE(ok());
    const std::vector<std::string> head(session.calls.begin() + 1, session.calls.begin() + 6);
    EXPECT_EQ(head, (std::vector<std::string>{"close COM3", "unload 0 1", "unload 2 1", "unload 3 1", "unload 4 1"}));
    EXPECT_TRUE(session.has("panel 4 hidden"));
    EXPECT_TRUE(c.ChecksumTest[1]);  // kept while the system is off
    EXPECT_EQ(c.Systems[1].ComPort, 0);
}

TEST_F(ApplySetup, UneditedLatLonKeepsTheirFullPrecision) {
    const double lat = 1.0370524758536123, lon = 0.183122563113135;
    v.latExact = lat;
    v.lonExact = lon;
    ASSERT_TRUE(ok());
    EXPECT_EQ(c.ReferenceLat[1], lat);
    EXPECT_EQ(c.ReferenceLon[1], lon);
    EXPECT_FALSE(std::filesystem::exists(session.folder + ReferenceFileName));  // RefChanged not set
}

TEST_F(ApplySetup, LimitsAndOfflineFile) {
    c.Mode = "OFFLINE";
    v.outliersTicked = true;
    v.outliers = "-20";
    v.svsTicked = true;
    v.svs = "5";
    v.hdop = "2,5";  // not ticked
    v.emptyBuffer = true;
    v.offlineFile = "/data/run1.nmea";
    ASSERT_TRUE(ok());
    EXPECT_EQ(c.OutlierLimit, 20.0f);
    EXPECT_EQ(c.HdopLimit, 0.0f);
    EXPECT_EQ(c.MinSatellites, 5);
    EXPECT_FALSE(c.EmptyBuffer[1]);
    EXPECT_TRUE(session.has("panel 9 n/a"));
    EXPECT_TRUE(session.has("offline status"));
    EXPECT_EQ(c.Systems[1].OfflineFile, "/data/run1.nmea");
    EXPECT_FALSE(session.has("open COM3"));
}

TEST(CheckSetupValues, RefusesBeforeAnythingChanges) {
    SetupValues ok;
    ok.enabled = true;
    ok.comPort = 1;
    ok.ip = "10.0.0.1";
    ok.tcpPort = "8040";
    ok.udpPort = "1000";
    EXPECT_EQ(checkSetupValues(ok, "ONLINE"), std::nullopt);
    struct Case {
        void (*change)(SetupValues&);
        SetupField field;
        const char* mode;
    };
    const Case cases[] = {
        {[](SetupValues& v) { v.source = 1, v.ip = "1.2.3"; }, SetupField::IP, "ONLINE"},
        {[](SetupValues& v) { v.source = 1, v.tcpPort = "0"; }, SetupField::TcpPort, "ONLINE"},
        {[](SetupValues& v) { v.source = 2, v.udpPort = "70000"; }, SetupField::UdpPort, "ONLINE"},
        {[](SetupValues& v) { v.svsTicked = true, v.svs = " 0"; }, SetupField::Svs, "ONLINE"},
        {[](SetupValues& v) { v.hdopTicked = true, v.hdop = "0.0"; }, SetupField::Hdop, "ONLINE"},
        {[](SetupValues& v) { v.outliersTicked = true; }, SetupField::Outliers, "ONLINE"},
        {[](SetupValues& v) { v.refName = "a\"b"; }, SetupField::RefName, "ONLINE"},
        {[](SetupValues& v) { v.comPort.reset(); }, SetupField::ComPort, "ONLINE"},
        {[](SetupValues& v) {
             for (B b : {B::GGA, B::VTG, B::ZDA, B::HDT, B::GSA, B::GST, B::GSV, B::ROT, B::VHW, B::DBT, B::TTM})
                 setTicked(v.sentences, b, true);
         },
         SetupField::Sentences, "OFFLINE"},
    };
    for (const Case& c : cases) {
        SetupValues v = ok;
        c.change(v);
        auto r = checkSetupValues(v, c.mode);
        ASSERT_TRUE(r) << static_cast<int>(c.field);
        EXPECT_EQ(r->field, c.field);
    }
    // The hidden source's boxes and a missing port in OFFLINE mode are not looked at.
    SetupValues v = ok;
    v.ip = "bad";
    v.comPort.reset();
    setTicked(v.sentences, B::LCD, true);
    EXPECT_EQ(checkSetupValues(v, "OFFLINE"), std::nullopt);
    // A system switched off needs no port.
    v = ok;
    v.enabled = false;
    v.comPort.reset();
    EXPECT_EQ(checkSetupValues(v, "ONLINE"), std::nullopt);
}

}  // namespace
}  // namespace tiderune
