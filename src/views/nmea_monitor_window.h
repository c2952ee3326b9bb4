#pragma once
// The NMEA monitor of one system: the lines the system delivers as they arrived, the raw
// input buffer of its source, five format counters, and in its status bar the source's
// settings with, for a TCP source, the connection state. The lines and counters are kept in
// a MonitorView as they arrive and copied into the widgets on the redraw tick.
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string_view>

#include "frame/child_window.h"
#include "core/core_state.h"
#include "platform/timer.h"
#include "views/logic/monitor_texts.h"

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
    // and unless the view is frozen the line joins the text box (on the next redraw).
    void rawMessage(std::string_view text) override;
    // The raw input buffer of the source (for a replay: the line just read).
    void inputBuffer(std::string_view text) override;

    void cmdCLSClick();
    void cmdFreezeClick();
    void cmdResetCountersClick();
    // The poll of the TCP connection state; sets the next interval.
    void timerStateTimer();
    // The system's source was changed by its setup: the status bar shows it again, and the
    // connection state is polled only while the source is TCP.
    void sourceChanged() override;

    bool frozen() const { return view_.frozen(); }
    // Lines appended to the text box since it was last emptied.
    int lineCount() const { return view_.lineCount(); }
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
    void refresh() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeInputBuffer();
    void setPanel(int panel, const QString& text);
    void fillStatusBar();

    std::unique_ptr<Timer> timerState_;
    QLabel* panels_[5] = {};
    MonitorView view_;
    // What the widgets show of view_: its generation and how much of its text.
    std::uint64_t drawnGeneration_ = 0;
    std::size_t drawnText_ = 0;
    // The setup's OK rewrote the status panels of the loaded window.
    bool afterSetup_ = false;
    bool inputBufferChanged_ = false;
};

// The loaded monitor of a system, or nullptr.
NMEAMonitorWindow* monitorWindow(Shell& shell, int system);

}  // namespace tiderune
