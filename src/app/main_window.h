#pragma once
// The main window: the frame of every other window, with the menus, the online and offline
// toolbars and the status bar; it runs the start-up, the mode switch and the closing.
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>

#include "app/logic/window_tiling.h"
#include "app/new_window_dialog.h"
#include "app/offline_status_window.h"
#include "frame/redraw_tick.h"
#include "frame/shell.h"
#include "frame/window_services.h"
#include "platform/qt/qt_edge.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;
class QAction;
class QTimer;

namespace tiderune {

class DataSources;
class OfflineStatusWindow;
class ResetFamily;
class NewWindowDialog;

// What the parts of the session control do for the main window's menus and toolbars. The
// program (program.h) wires every one; the main window calls them without looking, so that
// one left unwired fails at its first use instead of quietly doing nothing.
struct SessionHooks {
    // Switches raw-data logging on or off; LoggingOn follows the logger.
    std::function<void()> toggleLogging;
    // A click on the offline toolbar, by the button's key ("PLAY", "Step", ...).
    std::function<void(const QString& key)> offlineButton;
    // The session reports of File Print.
    std::function<void()> print;
    // The setup window of a system (1-4) from the Setup menu.
    std::function<void(int system)> setupSystem;
    std::function<void()> latLonFormat;
    std::function<void()> about;
};

class MainWindow : public QMainWindow, public WindowServices {
    Q_OBJECT
public:
    explicit MainWindow(Shell& shell);
    ~MainWindow() override;

    Shell& shell() { return shell_; }
    SessionHooks hooks;

    // Start-up: placement, InitialiseProgram, ApplySetupToMainWindow.
    void MDIFormLoad();
    void InitialiseProgram();
    void ApplySetupToMainWindow();
    void CloseSystemWindows();
    // Keeps a child window's top-left corner inside the main window.
    void FitChildWindow(QWidget* child);

    void mnuModeOnlineClick();
    void mnuModeOfflineClick();

    void tbOnlineButtonClick(const QString& key);

    // The replay's status window (frmOfflineStatus).
    void showOfflineStatus();
    void unloadOfflineStatus();

    void fileOpen();
    void fileSave();
    void fileSaveAs();
    void filePrint();
    void windowNewWindow();

    enum class Arrangement { Cascade, TileHorizontal, TileVertical, ArrangeIcons };
    void arrange(Arrangement how);

    // Controls by their names: menu entries ("mnuModeOnline"), toolbar buttons by key.
    QAction* action(const QString& name) const;
    QToolBar* onlineToolBar() const { return tbOnline_; }
    QToolBar* offlineToolBar() const { return tbOffline_; }
    static QAction* button(QToolBar* bar, const QString& key);
    static void setButtonKey(QAction* button, const QString& key);
    static QString buttonKey(QAction* button);

    // Status bar panels 1 to 13.
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    bool isPanelShown(int panel) const;
    void setPanelShown(int panel, bool shown);

    QMdiArea* mdiArea() const { return mdi_; }

    // WindowServices: what the child windows may ask of the main window.
    // Set on the redraw tick: a count that changes with every line must not relayout and
    // repaint the status bar for each of them.
    void setStatusPanel(int panel, const std::string& text) override;
    void fitChildWindow(QWidget* frame) override { FitChildWindow(frame); }
    QMdiArea& childArea() override { return *mdi_; }
    SocketStatus socketStatus(int system) const override;
    RedrawTick& redrawTick() override { return redrawTick_; }

    ResetFamily& resets() { return *resets_; }
    DataSources& sources() { return *sources_; }
    OfflineStatusWindow* offlineStatusWindow() const { return offlineStatus_; }
    NewWindowDialog* newWindowDialog() const { return newWindow_; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildMenus();
    void buildToolBars();
    void buildStatusBar();
    void fillWindowMenu();
    // Scrolls the area to a window that stands beyond its visible part.
    void scrollIntoView(QMdiSubWindow* sub);
    // Moves the windows whose title bars `opening`, shown in front of them, would cover.
    void keepTitleBarsInSight(QMdiSubWindow* opening);
    // What an arrangement gives a window at least and at most.
    TileLimits arrangeLimits(QMdiSubWindow* sub) const;
    // The height of a child window's title bar: a cascade's step, what must show of a window.
    int childTitleBar() const;
    // The stored placement, or the default where it would not lie whole on the screen.
    void restorePlacement();
    // Follows the window's normal place while it is neither minimised nor maximised.
    void followNormalPlace();
    // Every load and save of the setup goes through ownSetup_. A failed save is shown and
    // gives false; `sayWhere` shows where a save went ("Setup saved as").
    bool loadSetup(const std::string& path);
    bool saveSetup(const std::string& path, bool sayWhere);
    // The closing steps: false when a child window refused to close.
    bool queryUnload();
    void unloadMainWindow();

    Shell& shell_;
    RedrawTick redrawTick_;
    QMap<int, QString> pendingPanels_;  // status-bar texts waiting for the tick
    QMdiArea* mdi_ = nullptr;
    QToolBar* tbOnline_ = nullptr;
    QToolBar* tbOffline_ = nullptr;
    QList<QLabel*> panels_;
    QTimer* clock_ = nullptr;
    std::unique_ptr<ResetFamily> resets_;
    std::unique_ptr<DataSources> sources_;
    QPointer<OfflineStatusWindow> offlineStatus_;
    QPointer<NewWindowDialog> newWindow_;
    QList<QAction*> windowListActions_;
    QRect normal_;  // the last place and size while neither minimised nor maximised
    OwnSetupFile ownSetup_;
};

}  // namespace tiderune
