// Serial reception end to end: a pseudo-terminal stands in for the COM port, the program
// opens it through the user's device path and feeds what arrives to the intake.
#include <QElapsedTimer>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/data_sources.h"
#include "app/reset_family.h"
#include "core/number_text.h"
#include "live_fixture.h"
#include "platform/qt/qt_edge.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/serial_port.h"

namespace tiderune::test {
namespace {

class LiveSerialTest : public LiveTest {
protected:
    void SetUp() override {
        LiveTest::SetUp();
        ASSERT_TRUE(pty.ok());
        SerialDeviceMap(settings).setDevicePath(3, pty.path());
    }
    // COM 3 as system 1, whose analysis fails on "$BAD" lines and counts what it analyses.
    // Returns the 11 failing lines that make the error question ask, listed in `expected`.
    std::string startWithFailingLines(std::size_t& analysed, std::vector<std::string>& expected) {
        start([](Config& c) { serialSystem(c, 1, "GPS1", 3); });
        core.onLine = [&analysed](CoreSink&, int, std::string_view line) {
            ++analysed;
            if (line.rfind("$BAD", 0) == 0) throw RuntimeError(9, "Subscript out of range");
        };
        std::string first;
        for (int i = 0; i < 11; ++i) {
            first += "$BAD," + std::to_string(i) + "\r\n";
            expected.push_back("1:$BAD," + std::to_string(i) + "\r\n");
        }
        return first;
    }
    // Counts what the receive events of COM 3 hand over, so that a test can wait until a
    // write has been read (and handled) before it writes again: one write, one event.
    void countReceived() {
        SerialPort& port = window->sources().serial(3);
        auto handler = port.onReceive;
        port.onReceive = [this, handler](const std::string& data) {
            handler(data);
            received_ += data.size();
        };
    }
    void start(std::function<void(Config&)> fill) {
        LiveTest::start(std::move(fill));
        received_ = sent_ = 0;
        countReceived();
    }
    // Waits too until the lines waiting in the port's buffer have been analysed.
    void sendEvent(const std::string& bytes, Pty& device) {
        device.send(bytes);
        sent_ += bytes.size();
        ASSERT_TRUE(waitFor([&] { return received_ == sent_ && !live->reception().portBuffer(3).holdsLine(); }));
    }
    void sendEvent(const std::string& bytes) { sendEvent(bytes, pty); }
    Pty pty;
    std::size_t sent_ = 0, received_ = 0;
};

// A monitor window with just the input-buffer label, so that what reception shows there can
// be read back.
class InputBufferWindow final : public ChildWindow {
public:
    InputBufferWindow(Shell& shell, WindowKind kind) : ChildWindow(shell, kind) {
        label = new QLabel("com-port inputbuffer", this);
        label->setObjectName("lblInputBuffer2");
        (new QVBoxLayout(this))->addWidget(label);
    }
    void inputBuffer(std::string_view text) override { label->setText(toQt(std::string(text))); }
    QLabel* label;
};
ChildWindow* monitorWithInputBuffer(Shell& shell, WindowKind kind) { return new InputBufferWindow(shell, kind); }

TEST_F(LiveSerialTest, OneLinePerReceiveEventAndBufferEmptyingCounted) {
    struct Step {
        std::string send;
        std::vector<std::string> analysed;  // lines handed on by this event
        std::string left;                   // the port's buffer afterwards
        QString ignoredPanel;
        std::string shown = {};  // the monitor's input buffer at the last event; empty: as sent
    };
    struct Case {
        bool emptyBuffer;
        std::vector<Step> steps;
    };
    const std::string gga = "$GPGGA,1\r\n", rmc = "$GPRMC,2\r\n", vtg = "$GPVTG,3\r\n";
    const Case cases[] = {
        // The backlog goes one line per event, the port raising its next event at once while
        // lines wait; a line split over two events is analysed whole at the second.
        {false,
         {{gga + rmc, {gga, rmc}, "", "n/a", rmc},
          {"$GPZDA,", {}, "$GPZDA,", "n/a"},
          {"4\r\n", {"$GPZDA,4\r\n"}, "", "n/a"}}},
        // With buffer emptying the lines behind the analysed one are dropped and counted; the
        // unfinished tail stays.
        {true,
         {{gga + rmc + vtg + "$GPZ", {gga}, "$GPZ", " 2"},
          {"DA,4\r\n", {"$GPZDA,4\r\n"}, "", " 2"},
          {gga + rmc, {gga}, "", " 3"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.emptyBuffer);
        TearDown();
        core.calls.clear();
        start([&](Config& cfg) {
            serialSystem(cfg, 1, "GPS1", 3);
            cfg.EmptyBuffer[1] = c.emptyBuffer;
        });
        ASSERT_TRUE(window->sources().serial(3).isOpen());
        EXPECT_EQ(window->panelText(9), c.emptyBuffer ? "0" : "n/a");
        shell->registry.replace(WindowKind::NMEA, monitorWithInputBuffer);
        ShowNMEAWindow(*shell, 1);
        auto* inputBuffer = shell->windows.slot(WindowKind::NMEA, 1).window()->findChild<QLabel*>("lblInputBuffer2");
        ASSERT_TRUE(inputBuffer);

        std::vector<std::string> expected;
        std::string buffer;
        for (const Step& step : c.steps) {
            SCOPED_TRACE(step.send);
            sendEvent(step.send);
            for (const std::string& l : step.analysed) expected.push_back("1:" + l);
            EXPECT_EQ(lines(), expected);
            // The monitor shows the whole buffer as it stood before the line was cut off.
            EXPECT_EQ(inputBuffer->text().toStdString(), step.shown.empty() ? buffer + step.send : step.shown);
            buffer = step.left;
            EXPECT_EQ(live->reception().portBuffer(3).text(), step.left);
            EXPECT_EQ(window->panelText(9), step.ignoredPanel);
        }
        EXPECT_TRUE(boxTexts().empty());
    }
}

TEST_F(LiveSerialTest, LinesArrivingManyPerReadAreAllAnalysedInOrder) {
    // As a USB adapter delivers them: many lines per read, faster than one line per read.
    start([](Config& c) { serialSystem(c, 1, "GPS1", 3); });
    const std::size_t before = core.calls.size();
    std::vector<std::string> expected;
    std::string chunk;
    for (int i = 0; i < 5000; ++i) {
        const std::string line = "$GPGGA," + std::to_string(i) + "\r\n";
        expected.push_back("1:" + line);
        chunk += line;
        if (chunk.size() > 3000 || i == 4999) {
            pty.send(chunk);
            sent_ += chunk.size();
            chunk.clear();
            ASSERT_TRUE(waitFor([&] { return received_ == sent_; }));
        }
    }
    // Only the count is looked at while waiting: the lines are gathered once, at the end.
    ASSERT_TRUE(waitFor([&] { return core.calls.size() >= before + expected.size(); })) << lines().size();
    EXPECT_EQ(lines(), expected);
    EXPECT_EQ(live->IgnoredCount(1), 0);
}

TEST_F(LiveSerialTest, ABurstFasterThanTheAnalysisIsHeldBackAndArrivesWholeAndInOrder) {
    start([](Config& c) { serialSystem(c, 1, "GPS1", 3); });
    // 2 MB written at once: the writer waits while the program takes the lines out.
    std::vector<std::string> expected;
    std::string burst;
    for (int i = 0; burst.size() < 2'000'000; ++i) {
        const std::string line = sentence("GPGGA,123519.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,," +
                                          std::to_string(i));
        expected.push_back("1:" + line);
        burst += line;
    }
    bool lastAnalysed = false;
    core.onLine = [&](CoreSink&, int, std::string_view line) { lastAnalysed = "1:" + std::string(line) == expected.back(); };
    std::thread writer([&] { pty.send(burst); });
    waitFor([&] { return lastAnalysed; }, 60000);
    writer.join();
    const std::vector<std::string> got = lines();
    EXPECT_EQ(got.size(), expected.size());
    const auto [wrong, _] = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
    if (wrong != got.end()) ADD_FAILURE() << "line " << wrong - got.begin() << " is " << *wrong;
    EXPECT_EQ(live->IgnoredCount(1), 0);
}

// While the error question is open nothing is analysed: a writer that can wait sends more
// than the program lets wait for the analysis, and the port holds it back instead of reading
// on and dropping what passes the bound. Once answered, every line arrives, none counted as
// ignored.
TEST_F(LiveSerialTest, AWriterIsHeldBackWhileTheErrorQuestionIsOpenAndLosesNothing) {
    std::size_t analysed = 0;
    std::vector<std::string> expected;
    std::string first = startWithFailingLines(analysed, expected);
    std::string burst;
    for (int i = 0; burst.size() < LiveSources::WaitingLimit + LiveSources::WaitingLimit / 2; ++i) {
        const std::string line = sentence("GPGGA,123519.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,," +
                                          std::to_string(i));
        expected.push_back("1:" + line);
        burst += line;
    }
    std::atomic<bool> written = false;
    std::thread writer;
    std::size_t analysedAtOpen = 0, analysedAtClose = 0, receivedAtClose = 0;
    boxes.whileOpen = [&](const MessageRequest&) {
        analysedAtOpen = analysed;
        writer = std::thread([&] {
            pty.send(burst);
            written = true;
        });
        // The question stays open until the writer is through or the port has stopped
        // taking its data for a while.
        QElapsedTimer quiet;
        quiet.start();
        std::size_t seen = received_;
        QElapsedTimer deadline;
        deadline.start();
        while (!written && deadline.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            if (received_ != seen) {
                seen = received_;
                quiet.restart();
            } else if (received_ >= LiveSources::SerialHoldLimit && quiet.elapsed() > 300) {
                break;
            }
        }
        analysedAtClose = analysed;
        receivedAtClose = received_;
    };
    pty.send(first);
    ASSERT_TRUE(waitFor([&] { return !boxTexts().empty(); }));
    EXPECT_GE(analysedAtOpen, 11u);
    EXPECT_EQ(analysedAtClose, analysedAtOpen);  // the lines waited for the answer
    EXPECT_LT(receivedAtClose, first.size() + LiveSources::WaitingLimit);  // held before the bound
    // Only the count is looked at while waiting: the lines are gathered once, at the end.
    const bool all = waitFor(
        [&] { return analysed + static_cast<std::size_t>(live->IgnoredCount(1)) >= expected.size(); }, 30000);
    if (writer.joinable()) writer.join();
    ASSERT_TRUE(all) << analysed;
    EXPECT_EQ(live->IgnoredCount(1), 0);
    const std::vector<std::string> got = lines();
    EXPECT_EQ(got.size(), expected.size());
    const auto [wrong, _] = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
    if (wrong != got.end()) ADD_FAILURE() << "line " << wrong - got.begin() << " is " << *wrong;
    EXPECT_EQ(boxTexts().size(), 1u);
}

// A 4800-baud device without flow control goes on sending while lines wait behind the error
// question: the port goes on reading, so nothing overruns the terminal's small buffer, and
// every line is analysed once the question is answered. The time is compressed: the device
// sends far more than the terminal and the port's own buffer hold while the question is open.
TEST_F(LiveSerialTest, ADeviceThatCannotWaitLosesNothingWhileTheErrorQuestionIsOpen) {
    std::size_t analysed = 0;
    std::vector<std::string> expected;
    std::string first = startWithFailingLines(analysed, expected);
    // Lines that still wait in the port's buffer when the 11th error asks.
    int next = 0;
    auto line = [&] {
        const std::string l = "$GPGGA," + std::to_string(next++) + "\r\n";
        expected.push_back("1:" + l);
        return l;
    };
    for (int i = 0; i < 20; ++i) first += line();

    std::size_t offered = 0, refused = 0, analysedAtOpen = 0, analysedAtClose = 0;
    boxes.whileOpen = [&](const MessageRequest&) {
        analysedAtOpen = analysed;
        // One second of the device at 4800 baud at a time, the program's event loop running
        // between them as it does under a real box.
        while (offered < 300'000) {
            std::string second;
            while (second.size() < 480) second += line();
            const std::size_t taken = pty.offer(second);
            offered += second.size();
            refused += second.size() - taken;
            if (taken < second.size()) break;  // the rest of the feed would not be whole
            for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
        }
        analysedAtClose = analysed;
    };
    pty.send(first);
    ASSERT_TRUE(waitFor([&] { return !boxTexts().empty(); }));
    ASSERT_EQ(refused, 0u);  // what the device sent was lost
    EXPECT_GE(analysedAtOpen, 11u);
    EXPECT_EQ(analysedAtClose, analysedAtOpen);  // the lines waited for the answer
    // Only the count is looked at while waiting: the lines are gathered once, at the end.
    ASSERT_TRUE(waitFor([&] { return analysed >= expected.size(); }, 30000)) << analysed;
    EXPECT_EQ(lines(), expected);
    EXPECT_EQ(live->IgnoredCount(1), 0);
    EXPECT_EQ(boxTexts().size(), 1u);
}

TEST_F(LiveSerialTest, AnIntakeErrorIsLoggedAndTheNextLineStillArrives) {
    start([](Config& c) { serialSystem(c, 1, "GPS1", 3); });
    core.onLine = [](CoreSink&, int, std::string_view line) {
        if (line.rfind("$BAD", 0) == 0) throw RuntimeError(9, "Subscript out of range");
    };
    sendEvent("$BAD,1\r\n");
    sendEvent("$GPGGA,1\r\n");
    EXPECT_EQ(lines(), (std::vector<std::string>{"1:$BAD,1\r\n", "1:$GPGGA,1\r\n"}));
    EXPECT_EQ(readFile(errorLogFile()), "2026 Dec 08 14:32:05 - Error description : Subscript out of range\r\n");
    EXPECT_EQ(logging->errorLog().count(), 1);
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(LiveSerialTest, APortOwnedByNoSystemIsIgnoredAndLoggedOnce) {
    for (int owner : {0, 7}) {
        SCOPED_TRACE(owner);
        TearDown();
        std::filesystem::remove_all(home + "ErrorLog");
        core.calls.clear();
        boxes.script.shown.clear();
        start([owner](Config& c) {
            serialSystem(c, 1, "GPS1", 3);
            c.Comports[3].AssignedSystem = static_cast<std::int16_t>(owner);
        });
        sendEvent("$GPGGA,1\r\n");
        sendEvent("$GPGGA,2\r\n");
        EXPECT_TRUE(lines().empty());
        EXPECT_EQ(readFile(errorLogFile()), "2026 Dec 08 14:32:05 - Error description : Comport 3 belongs to system " +
                                                std::to_string(owner) + ", which does not exist. Its data is ignored\r\n");
        EXPECT_EQ(logging->errorLog().count(), 0);  // not one of the errors the question counts
        EXPECT_TRUE(boxTexts().empty());
    }
}

TEST_F(LiveSerialTest, PortsThatCannotBeOpenedDisableTheirSystem) {
    struct Case {
        const char* what;
        std::function<void(Config&)> setup;
        int system, port;
        std::string description;  // empty: the device layer's own text
    };
    const Case cases[] = {
        {"missing device", [](Config& c) { serialSystem(c, 1, "GPS1", 5); }, 1, 5, ""},
        // COM 4 leads to the same terminal as COM 3, which system 1 holds already.
        {"busy device",
         [](Config& c) {
             serialSystem(c, 1, "GPS1", 3);
             serialSystem(c, 2, "Gyro", 4);
         },
         2, 4, ""},
        {"bad settings",
         [](Config& c) {
             serialSystem(c, 1, "GPS1", 3);
             c.Comports[3].Baud = 0;
         },
         1, 3, "Invalid property value"},
    };
    SerialDeviceMap(settings).setDevicePath(4, pty.path());
    SerialDeviceMap(settings).setDevicePath(5, "/dev/tiderune-no-such-port");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        boxes.script.shown.clear();
        start(c.setup);
        const std::string tail = ". Comport " + StrNumber(c.port) + " not available! System " + StrNumber(c.system) +
                                 " -" + shell->config.Systems[c.system].Name + " disabled";
        ASSERT_EQ(boxTexts().size(), 1u);
        const std::string text = boxTexts()[0];
        ASSERT_GT(text.size(), tail.size());
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
        if (!c.description.empty()) {
            EXPECT_EQ(text, c.description + tail);
        }
        EXPECT_FALSE(shell->config.Systems[c.system].InUse);
        EXPECT_EQ(shell->config.Systems[c.system].ComPort, 0);
    }
    // A refused settings text still lets the port open, as the original did.
    EXPECT_TRUE(window->sources().serial(3).isOpen());
}

TEST_F(LiveSerialTest, DevicePathsAndPlacementsComeFromTheSettingsFileAsTheUserWritesIt) {
    Pty other;
    ASSERT_TRUE(other.ok());
    const std::string file = dir.path().toStdString() + "/settings.ini";
    auto writeByHand = [&](const std::string& comPath) {
        namespace fs = std::filesystem;
        const bool edit = fs::exists(file);
        const fs::file_time_type before = edit ? fs::last_write_time(file) : fs::file_time_type{};
        std::ofstream(file) << "[SerialDevices]\nCOM3=" << comPath << "\n\n[Settings]\nMainLeft=1500\n";
        // A user's edit comes seconds after the program read the file. Within the file
        // system's clock tick, and of the same size (/dev/pts/0 and /dev/pts/1), it would
        // look unchanged to the settings, which tell a changed file by its size and time.
        if (edit) fs::last_write_time(file, before + std::chrono::seconds(1));
    };
    writeByHand(pty.path());
    QtSettingsStore store(QString::fromStdString(file));
    settingsStore = &store;
    start([](Config& c) { serialSystem(c, 1, "GPS1", 3); });
    EXPECT_EQ(window->pos().x(), 100);  // 1500 twips
    sendEvent("$GPGGA,1\r\n");

    // Edited while the program runs: the next opening of the sources takes the new device.
    writeByHand(other.path());
    boxes.script.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    window->mnuModeOfflineClick();
    window->mnuModeOnlineClick();
    ASSERT_TRUE(window->sources().serial(3).isOpen());
    EXPECT_EQ(window->sources().serial(3).devicePath(), other.path());
    // COM 3 now reads the other terminal: wait for its receive event, as for the first.
    sendEvent("$GPGGA,2\r\n", other);
    EXPECT_EQ(lines(), (std::vector<std::string>{"1:$GPGGA,1\r\n", "1:$GPGGA,2\r\n"}));
    TearDown();
}

}  // namespace
}  // namespace tiderune::test
