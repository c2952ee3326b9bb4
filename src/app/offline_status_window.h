#pragma once
// The replay's status window: the input file, the state, the start time, the clock and the
// elapsed processing time. It exists only in OFFLINE mode.
#include <QWidget>

class QLabel;

namespace tiderune {

class Shell;

class OfflineStatusWindow : public QWidget {
    Q_OBJECT
public:
    explicit OfflineStatusWindow(Shell& shell, QWidget* parent = nullptr);

    // Placed at the top-left corner of the main window, with the primary system's file.
    void load();
    // The texts of a window that has seen no replay: the primary system's offline file (the
    // one the next PLAY replays), "not started" and no times. Another setup file starts
    // from them too, whatever the replay of the old one left.
    void showNoReplay();

    QLabel* lblFileName = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* lblStartTime = nullptr;
    QLabel* lblTimeHeader = nullptr;
    QLabel* lblCurrentTime = nullptr;
    QLabel* lblProcessingTime = nullptr;
    QLabel* lblPause = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void keepDesignSize(QWidget* frame);
    Shell& shell_;
    // The room the texts have in the window's normal state, which they keep when it is
    // maximized; empty until the window was laid out in it.
    QSize normalRoom_;
};

}  // namespace tiderune
