// Raw-data logging and the error log of a running program: real files in the program folder,
// named from a fixed clock, fed by lines arriving on a UDP port.
#include <QUdpSocket>
#include <filesystem>
#include <fstream>

#include "app/data_sources.h"
#include "live_fixture.h"

namespace tiderune::test {
namespace {

class LiveLoggingTest : public LiveTest {
protected:
    void SetUp() override {
        LiveTest::SetUp();
        QUdpSocket probe;
        ASSERT_TRUE(probe.bind(QHostAddress::LocalHost, 0));
        port1 = probe.localPort();
        QUdpSocket probe3;
        ASSERT_TRUE(probe3.bind(QHostAddress::LocalHost, 0));
        port3 = probe3.localPort();
    }
    void udpSystem(Config& c, int system, const std::string& name, int port) {
        c.Systems[system].InUse = true;
        c.Systems[system].Name = name;
        c.Systems[system].UseUDP = true;
        c.Systems[system].UDPPort = port;
    }
    void sendDatagram(int port, const std::string& data) {
        ASSERT_EQ(sender.writeDatagram(QByteArray::fromStdString(data), QHostAddress::LocalHost,
                                       static_cast<quint16>(port)),
                  static_cast<qint64>(data.size()));
    }
    bool waitForFile(const std::string& path, const std::string& content) {
        return waitFor([&] { return readFile(path) == content; });
    }
    std::string logFile(const std::string& name) const { return home + "log/" + name; }
    // The last ZDA sentence system 1 analysed (on the program's own core).
    std::string analysedZda() const { return realCore->state().NMEAMessages[1].textOf(SentenceType::ZDA); }
    void pressLog() { onlineButton("LOG")->trigger(); }
    void expectLoggingShown(bool on) {
        EXPECT_EQ(shell->run.LoggingOn, on);
        EXPECT_EQ(onlineButton("LOG")->text(), on ? "LOG Off" : "LOG On");
        EXPECT_EQ(window->panelText(2), on ? "Logging : On" : "Logging : Off");
    }

    QUdpSocket sender;
    int port1 = 0, port3 = 0;
};

const std::string Prim = "20261208-1432-Prim-GPS1.log";
const std::string Sec2 = "20261208-1432-Sec2-Gyro.log";

TEST_F(LiveLoggingTest, OneFilePerSystemInUseOneLinePerLineAndASecondStartAppends) {
    startOnRealCore([&](Config& c) {
        udpSystem(c, 1, "GPS1", port1);
        udpSystem(c, 3, "Gyro", port3);
    });
    ASSERT_TRUE(boxTexts().empty());
    const std::string zda1 = sentence("GPZDA,143205.00,08,12,2026,00,00");
    const std::string zda2 = sentence("GPZDA,143206.00,08,12,2026,00,00");
    const std::string hdt = sentence("HEHDT,123.4,T");
    const std::string strip = "\r\n";  // every line is written with one CR LF of its own
    auto bare = [&](const std::string& l) { return l.substr(0, l.size() - strip.size()) + strip; };

    pressLog();
    expectLoggingShown(true);
    const std::string where = home + "log/\r\n";
    ASSERT_EQ(boxTexts(), std::vector<std::string>{"Logging started. Data will be stored in file " + where + Prim +
                                                   "\r\n" + Sec2});
    EXPECT_EQ(boxes.script.shown[0].icon, MessageIcon::Information);

    sendDatagram(port1, zda1 + zda2 + "$GPZDA,unfinished");
    sendDatagram(port3, hdt);
    ASSERT_TRUE(waitForFile(logFile(Prim), bare(zda1) + bare(zda2)));
    ASSERT_TRUE(waitForFile(logFile(Sec2), bare(hdt)));

    pressLog();
    expectLoggingShown(false);
    EXPECT_EQ(boxTexts().back(), "Logging stopped. Data stored in file " + where + Prim + "\r\n" + Sec2);
    const std::string unlogged = sentence("GPZDA,143207.00,08,12,2026,00,00");
    sendDatagram(port1, unlogged);
    ASSERT_TRUE(waitFor([&] { return analysedZda() == unlogged; }));
    // Switched on again within the same minute: the same files, kept and appended to.
    pressLog();
    sendDatagram(port1, zda2);
    ASSERT_TRUE(waitForFile(logFile(Prim), bare(zda1) + bare(zda2) + bare(zda2)));
    EXPECT_EQ(readFile(logFile(Sec2)), bare(hdt));

    // Closing the program stops the logging with its message.
    boxes.script.shown.clear();
    window->close();
    EXPECT_FALSE(logging->logger().isOn());
    ASSERT_FALSE(boxTexts().empty());
    EXPECT_EQ(boxTexts().back(), "Logging stopped. Data stored in file " + where + Prim + "\r\n" + Sec2);
}

TEST_F(LiveLoggingTest, ALogThatCannotBeOpenedOrWrittenLeavesLoggingOffAndSaysSo) {
    // The log folder cannot be made: nothing opens, logging stays off.
    std::ofstream(home + "log") << "in the way\n";
    startOnRealCore([&](Config& c) { udpSystem(c, 1, "GPS1", port1); });
    pressLog();
    expectLoggingShown(false);
    ASSERT_EQ(boxTexts().size(), 1u);
    EXPECT_EQ(boxTexts()[0].rfind("Logging failed. These files could not be opened :\r\n" + logFile(Prim) + " : ", 0), 0u);
    EXPECT_EQ(boxes.script.shown[0].icon, MessageIcon::Critical);

    // A file that fails at its first line: told once, after the line, and logging is off.
    std::filesystem::remove(home + "log");
    std::filesystem::create_directories(home + "log");
    std::filesystem::create_symlink("/dev/full", logFile(Prim));
    boxes.script.shown.clear();
    pressLog();
    expectLoggingShown(true);
    const std::string zda = sentence("GPZDA,143205.00,08,12,2026,00,00");
    sendDatagram(port1, zda + zda);
    ASSERT_TRUE(waitFor([&] { return boxTexts().size() >= 2; }));
    EXPECT_EQ(boxTexts()[1],
              "Logging stopped for system 1. The file " + logFile(Prim) + " could not be written : No space left on device");
    expectLoggingShown(false);
    // Later lines are analysed without a word more.
    const std::string later = sentence("GPZDA,143209.00,08,12,2026,00,00");
    sendDatagram(port1, later);
    ASSERT_TRUE(waitFor([&] {
        return analysedZda() == later;
    }));
    EXPECT_EQ(boxTexts().size(), 2u);
}

TEST_F(LiveLoggingTest, TheEleventhErrorAsksAfterItsEventAndNoEndsTheProgramWithTheLogsClosed) {
    // More than ten backslashes make a line the intake refuses with a run-time error.
    const std::string bad = std::string(11, '\\') + "junk\r\n";
    const std::string good = sentence("GPZDA,143205.00,08,12,2026,00,00");
    const std::string entry = "2026 Dec 08 14:32:05 - Error description : Subscript out of range\r\n";
    auto bare = [](const std::string& l) { return l.substr(0, l.size() - 2) + "\r\n"; };
    for (MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        SCOPED_TRACE(answer == MessageAnswer::Yes ? "Yes" : "No");
        TearDown();
        std::filesystem::remove_all(home + "ErrorLog");
        std::filesystem::remove_all(home + "log");
        programEnded = 0;
        startOnRealCore([&](Config& c) { udpSystem(c, 1, "GPS1", port1); });
        pressLog();
        boxes.script.shown.clear();

        std::string tenBad, tenEntries, raw;
        for (int i = 0; i < 10; ++i) tenBad += bad, tenEntries += entry, raw += bare(bad);
        sendDatagram(port1, tenBad);
        ASSERT_TRUE(waitForFile(errorLogFile(), tenEntries));
        EXPECT_TRUE(boxTexts().empty());

        boxes.script.answers = {answer};
        sendDatagram(port1, bad + good);
        ASSERT_TRUE(waitFor([&] { return !boxTexts().empty(); }));
        raw += bare(bad) + bare(good);
        // The question comes once the datagram is done: its good line is analysed and logged.
        EXPECT_EQ(readFile(logFile(Prim)), raw);
        EXPECT_EQ(readFile(errorLogFile()), tenEntries + entry);
        ASSERT_EQ(boxTexts().size(), 1u);
        EXPECT_EQ(boxTexts()[0], " 14:32:05 Dec 08 - Error description : Subscript out of range   More than 10 errors "
                                 "has occurred. Do you wan't to continue anyway? (All Error messages are stored in file " +
                                     errorLogFile());
        EXPECT_EQ(boxes.script.shown[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(boxes.script.shown[0].icon, MessageIcon::Critical);
        EXPECT_EQ(logging->errorLog().count(), 0);

        if (answer == MessageAnswer::Yes) {
            EXPECT_EQ(programEnded, 0);
            sendDatagram(port1, good);
            ASSERT_TRUE(waitForFile(logFile(Prim), raw + bare(good)));
            EXPECT_TRUE(shell->run.LoggingOn);
        } else {
            EXPECT_EQ(programEnded, 1);
            EXPECT_FALSE(logging->logger().isOn());
            EXPECT_FALSE(logging->logger().isOpen(1));
            EXPECT_FALSE(shell->run.LoggingOn);
        }
    }
}

TEST_F(LiveLoggingTest, ErrorsOfLinesThatWaitedForABoxAskWhenTheBoxCloses) {
    start([&](Config& c) { udpSystem(c, 1, "GPS1", port1); });
    core.onLine = [](CoreSink&, int, std::string_view line) {
        if (line.rfind("$BAD", 0) == 0) throw RuntimeError(9, "Subscript out of range");
    };
    std::string elevenBad;
    for (int i = 0; i < 11; ++i) elevenBad += "$BAD\r\n";
    boxes.whileOpen = [&](const MessageRequest&) {
        sendDatagram(port1, elevenBad);
        EXPECT_TRUE(waitFor([&] { return shell->gate.pendingEvents() > 0; }));
    };
    pressLog();  // "Logging started. ..." is open while the datagram comes in
    ASSERT_EQ(boxTexts().size(), 2u);
    EXPECT_EQ(boxTexts()[1].rfind(" 14:32:05 Dec 08 - Error description : Subscript out of range   More than 10", 0), 0u);
    EXPECT_EQ(lines().size(), 11u);
}

TEST_F(LiveLoggingTest, AnErrorLogThatCannotBeWrittenIsToldOnceAndTheLinesGoOn) {
    std::ofstream(home + "ErrorLog") << "in the way\n";
    start([&](Config& c) { udpSystem(c, 1, "GPS1", port1); });
    core.onLine = [](CoreSink&, int, std::string_view line) {
        if (line.rfind("$BAD", 0) == 0) throw RuntimeError(9, "Subscript out of range");
    };
    sendDatagram(port1, "$BAD,1\r\n$GPGGA,1\r\n$BAD,2\r\n");
    sendDatagram(port1, "$BAD,3\r\n$GPGGA,2\r\n");
    ASSERT_TRUE(waitFor([&] { return lines().size() == 5; }));
    EXPECT_EQ(lines()[4], "1:$GPGGA,2\r\n");
    ASSERT_EQ(boxTexts().size(), 1u);
    EXPECT_EQ(boxTexts()[0].rfind("The error log " + errorLogFile() + " could not be written : ", 0), 0u);
    EXPECT_EQ(logging->errorLog().count(), 3);
}

}  // namespace
}  // namespace tiderune::test
