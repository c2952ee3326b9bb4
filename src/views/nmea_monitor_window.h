#pragma once
// The NMEA monitor of one system: the lines the system delivers as they arrived, the raw
// input buffer of its source, five format counters, and in its status bar the source's
// settings with, for a TCP source, the connection state.
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string_view>

#include "app/child_window.h"
#include "core/core_state.h"
#include "platform/timer.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace tiderune {

class NMEAMonitorWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit NMEAMonitorWindow(Shell& shell, QWidget* parent = nullptr);
    ~NMEAMonitorWindow() override;

    void load() override;
    void unload() override;

    // One line of the system, already counted by the core: the counters that grew are shown,
    // and unless the view is frozen the line joins the text box.
    void showRawMessage(std::string_view text);
    // The core's monitor feed for this window's system.
    void rawMessage(std::string_view text) override { showRawMessage(text); }
    // The raw input buffer of the source (for a replay: the line just read).
    void setInputBuffer(std::string_view text);

    void cmdCLSClick();
    void cmdFreezeClick();
    void cmdResetCountersClick();
    // The poll of the TCP connection state; sets the next interval.
    void timerStateTimer();

    bool frozen() const { return frozen_; }
    // Lines appended to the text box since it was last emptied.
    int lineCount() const { return lineCount_; }
    // The height of the text box in twips: it decides how many lines the box keeps.
    double textBoxHeightTwips() const;
    QString panelText(int panel) const;
    Timer& stateTimer() { return *timerState_; }

    QPlainTextEdit* txtNMEA = nullptr;
    QLabel* lblInputBuffer1 = nullptr;
    QLabel* lblInputBuffer2 = nullptr;
    QLabel* lblMessages = nullptr;
    QLabel* lblNMEACount = nullptr;
    QLabel* lblAISCount = nullptr;
    QLabel* lblCheckSumOK = nullptr;
    QLabel* lblCheckSumError = nullptr;
    QPushButton* cmdCLS = nullptr;
    QPushButton* cmdFreeze = nullptr;
    QPushButton* cmdResetCounters = nullptr;
    QStatusBar* StatusBar1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeInputBuffer();
    void setPanel(int panel, const QString& text);
    void fillStatusBar();
    void appendText(std::string_view text);

    std::unique_ptr<Timer> timerState_;
    QLabel* panels_[5] = {};
    bool frozen_ = false;
    int lineCount_ = 0;
    // The counters as last shown: a label is written only when its counter moved, so that
    // after a reset of the counters each label keeps its text until its own counter grows.
    MonitorCounters shown_{};
};

// Makes the monitor the window of its kind; the core's monitor feed reaches the loaded
// monitor of each system through the main window's core sink.
void installMonitorWindows(Shell& shell);

// The loaded monitor of a system, or nullptr.
NMEAMonitorWindow* monitorWindow(Shell& shell, int system);

}  // namespace tiderune
