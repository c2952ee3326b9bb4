// The event gate: no box inside a line, no line inside a box.
#include "frame/event_gate.h"
#include "app/reset_family.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "shell_fixture.h"

namespace tiderune::test {
namespace {

// Boxes that, while open, let a device event arrive, as a nested event loop would.
class BoxesWithArrivals final : public MessageBoxes {
public:
    MessageAnswer show(const MessageRequest& r) override {
        log.push_back("box " + r.text);
        if (whileOpen) {
            auto f = std::move(whileOpen);
            whileOpen = nullptr;
            f();
        }
        log.push_back("closed " + r.text);
        return r.defaultAnswer;
    }
    std::function<void()> whileOpen;
    std::vector<std::string> log;
};

TEST(EventGate, NoticesOfALineAreShownAfterItAndArrivalsDuringABoxWait) {
    BoxesWithArrivals boxes;
    EventGate gate(boxes);
    auto& log = boxes.log;

    gate.processLine([&] {
        gate.notice({"Error ExtractGGA", {}, NoticeIcon::None});
        log.push_back("line 1 ends");
    });
    // A device event arriving while the notice box of line 2 is open runs after the box.
    boxes.whileOpen = [&] { gate.deliver([&] { log.push_back("line 3"); }); };
    gate.deliver([&] {
        gate.notice({"second", {}, NoticeIcon::None});
        log.push_back("line 2 ends");
    });
    EXPECT_EQ(log, (std::vector<std::string>{"line 1 ends", "box Error ExtractGGA", "closed Error ExtractGGA",
                                             "line 2 ends", "box second", "closed second", "line 3"}));
}

TEST(EventGate, ArrivalsWhileAQuestionIsOpenAreDeliveredAfterItInOrder) {
    BoxesWithArrivals boxes;
    EventGate gate(boxes);
    std::vector<std::string>& log = boxes.log;
    boxes.whileOpen = [&] {
        gate.deliver([&] { log.push_back("a"); });
        gate.deliver([&] { log.push_back("b"); });
    };
    gate.ask({"Are you sure ?", {}, MessageButtons::YesNo, MessageIcon::None, MessageAnswer::Yes});
    EXPECT_EQ(log, (std::vector<std::string>{"box Are you sure ?", "closed Are you sure ?", "a", "b"}));
    EXPECT_EQ(gate.pendingEvents(), 0);
}

TEST(EventGate, AFailingLineStillShowsWhatItRaisedAndTheErrorReachesTheCaller) {
    BoxesWithArrivals boxes;
    EventGate gate(boxes);
    EXPECT_THROW(gate.processLine([&] {
        gate.notice({"first", {}, NoticeIcon::None});
        throw RuntimeError(9, "Subscript out of range");
    }),
                 RuntimeError);
    EXPECT_EQ(boxes.log, (std::vector<std::string>{"box first", "closed first"}));
    EXPECT_FALSE(gate.busy());
}

TEST_F(ShellTest, CoreNoticesAndChecksumCountReachTheWindowAfterTheLine) {
    start();
    boxes.shown.clear();
    core.onLine = [&](CoreSink& sink, int system, std::string_view) {
        sink.notice({"A NMEA message type XYZ is received. No action", {}, NoticeIcon::None});
        EXPECT_TRUE(boxes.shown.empty());  // not inside the line
        sink.showChecksumRejected(system, system + 3, " 5");
    };
    shell->processSentence(2, "$GPXYZ,1*00\r\n");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"A NMEA message type XYZ is received. No action"});
    window->redrawTick().drawNow();
    EXPECT_EQ(window->panelText(5), " 5");
    EXPECT_EQ(core.calls.back(), "ProcessSentence 2 $GPXYZ,1*00\r\n");
}

}  // namespace
}  // namespace tiderune::test

namespace tiderune::test {
namespace {

TEST_F(ShellTest, ARejectedChecksumCountsInTheSystemsPanelThroughTheRealIntake) {
    ProgramCore real;
    startOnRealCore(real);
    shell->config.Systems[2].InUse = true;
    shell->config.ChecksumTest[2] = true;
    window->ApplySetupToMainWindow();
    EXPECT_EQ(window->panelText(5), "0");
    shell->processSentence(2, "$GPZDA,120000.00,08,12,2026,00,00*00\r\n");
    shell->processSentence(2, "$GPZDA,120000.00,08,12,2026,00,00*00\r\n");
    // The count is drawn on the redraw tick, not for every rejected line.
    EXPECT_EQ(window->panelText(5), "0");
    window->redrawTick().drawNow();
    EXPECT_EQ(window->panelText(5), " 2");
    EXPECT_EQ(window->panelText(4), "n/a");
    // A setup applied before the tick sets the panel at once; the count waiting for the
    // tick must not come back over it.
    shell->processSentence(2, "$GPZDA,120000.00,08,12,2026,00,00*00\r\n");
    window->ApplySetupToMainWindow();
    window->redrawTick().drawNow();
    EXPECT_EQ(window->panelText(5), "0");
}

}  // namespace
}  // namespace tiderune::test

namespace tiderune::test {
namespace {

class RecordingWindow : public ChildWindow {
public:
    using ChildWindow::ChildWindow;
    void feed(SentenceType type) override { fed.push_back(std::string(sentenceTypeName(type))); }
    std::vector<std::string> fed;
};

TEST_F(ShellTest, AnAnalysedSentenceReachesTheOpenWindowsOfItsSystem) {
    ProgramCore real;
    startOnRealCore(real);
    std::vector<RecordingWindow*> made;
    for (WindowKind k : {WindowKind::Numerics, WindowKind::TimeSeriesGGA, WindowKind::Scatter})
        shell->registry.replace(k, [&](Shell& s, WindowKind kind) {
            made.push_back(new RecordingWindow(s, kind));
            return made.back();
        });
    Config& c = shell->config;
    useSystem(c, 1, "GPS1", {SentenceType::GGA});
    shell->state.StartupDone = true;
    window->resets().ResetAll();  // loads the GGA chart and the scatter window
    ShowNumericsWindow(*shell, 1);
    ASSERT_EQ(made.size(), 3u);
    shell->processSentence(1, "$GPGGA,120000.00,5230.0000,N,00430.0000,E,1,08,1.0,10.0,M,45.0,M,,*00\r\n");
    shell->processSentence(1, "$GPZDA,120000.00,08,12,2026,00,00*00\r\n");  // not analysed
    for (RecordingWindow* w : made) EXPECT_EQ(w->fed, std::vector<std::string>{"GGA"}) << w->objectName().toStdString();
}

// A parser failure is shown once and then only counted, until the user starts afresh: RESET
// ALL (which a mode switch and PLAY include) and File Open show it again when it recurs.
TEST_F(ShellTest, ARecurringParserFailureIsShownAgainAfterTheUserStartsAfresh) {
    ProgramCore real;
    startOnRealCore(real);
    const std::string hdt = "$GPHDT,1e39,T";
    const std::vector<std::string> shown = {"Error  6 : Overflow  HDT-message : " + hdt};
    struct Case {
        const char* what;
        std::function<void()> reset;
    };
    const Case cases[] = {
        {"RESET ALL", [&] { onlineButton("RESET ALL")->trigger(); }},  // Enter: Yes
        {"mode switch", [&] {
             boxes.answers = {MessageAnswer::Yes};
             action("mnuModeOffline")->trigger();
         }},
        {"File Open", [&] {
             fileDialogs.answers = {home + "Tiderune.ini"};
             action("mnuFileOpen")->trigger();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shell->processSentence(1, hdt);
        boxes.shown.clear();
        shell->processSentence(1, hdt);
        EXPECT_TRUE(boxTexts().empty());
        c.reset();
        boxes.shown.clear();
        shell->processSentence(1, hdt);
        EXPECT_EQ(boxTexts(), shown);
    }
}

}  // namespace
}  // namespace tiderune::test
