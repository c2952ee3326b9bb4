#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "app/data_sources.h"
#include "app/new_window_dialog.h"
#include "app/offline_status_window.h"
#include "app/reset_family.h"
#include "app/logic/main_placement.h"
#include "app/logic/window_tiling.h"
#include "frame/child_window.h"
#include "platform/qt/qt_edge.h"
#include "core/errors.h"
#include "core/processing.h"
#include "core/setup_file.h"
#include "platform/app_folder.h"
#include "platform/twips.h"

namespace tiderune {

namespace {

const char* const KeyProperty = "tideruneKey";

// The design captions of the Setup entries; start-up keeps their first 26 or 22 characters.
const char* const PrimaryCaption = "&Primary System         - not defined";
const char* const SecondaryCaptions[] = {"Secondary System &1 - not defined",
                                         "Secondary System &2 - not defined",
                                         "Secondary System &3 - not defined"};

QAction* addEntry(QMenu* menu, const char* name, const char* caption, const QKeySequence& key = {},
                  bool enabled = true, bool visible = true) {
    QAction* a = menu->addAction(toQt(caption));
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    a->setEnabled(enabled);
    a->setVisible(visible);
    return a;
}

QAction* addSeparator(QMenu* menu, const char* name, bool visible = true) {
    QAction* a = menu->addSeparator();
    a->setObjectName(name);
    a->setVisible(visible);
    return a;
}

QAction* addButton(QToolBar* bar, const char* key, const char* caption, bool enabled) {
    QAction* a = bar->addAction(toQt(caption));
    MainWindow::setButtonKey(a, key);
    a->setEnabled(enabled);
    return a;
}

}  // namespace

MainWindow::MainWindow(Shell& shell) : shell_(shell), ownSetup_(shell.setupFilePath()) {
    setObjectName("frmMain");
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName("mdiArea");
    // A window beyond the area's edges is reached by scrolling, as the arrangements that give
    // every window a readable size need once the windows outgrow the area.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    shell_.setHost(this);
    resets_ = std::make_unique<ResetFamily>(shell_);
    sources_ = std::make_unique<DataSources>(shell_);
    buildMenus();
    buildToolBars();
    buildStatusBar();
}

MainWindow::~MainWindow() {
    if (shell_.hasHost() && &shell_.host() == this) shell_.setHost(nullptr);
}

// ---------------------------------------------------------------- controls

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu("&File");
    file->setObjectName("mnuFile");
    addEntry(file, "mnuFileNew", "&New", QKeySequence("Ctrl+N"), false, false);
    connect(addEntry(file, "mnuFileOpen", "&Open", QKeySequence("Ctrl+O")), &QAction::triggered, this,
            &MainWindow::fileOpen);
    addSeparator(file, "mnuFileBar1");
    connect(addEntry(file, "mnuFileSave", "&Save", QKeySequence("Ctrl+S")), &QAction::triggered, this,
            &MainWindow::fileSave);
    connect(addEntry(file, "mnuFileSaveAs", "Save &As..."), &QAction::triggered, this,
            &MainWindow::fileSaveAs);
    addSeparator(file, "mnuFileBar3");
    addEntry(file, "mnuFilePageSetup", "Page Set&up...", {}, false);
    addEntry(file, "mnuFilePrintPreview", "Print Pre&view", {}, false);
    connect(addEntry(file, "mnuFilePrint", "&Print...", QKeySequence("Ctrl+P")), &QAction::triggered, this,
            &MainWindow::filePrint);
    addSeparator(file, "mnuFileBar5");
    for (int i = 0; i < 4; ++i)
        addEntry(file, "mnuFileMRU", "", {}, true, false)->setProperty("index", i);
    addSeparator(file, "mnuFileBar6", false);
    connect(addEntry(file, "mnuFileExit", "E&xit"), &QAction::triggered, this, &MainWindow::close);

    QMenu* mode = bar->addMenu("&Mode");
    mode->setObjectName("mnuMode");
    QAction* online = addEntry(mode, "mnuModeOnline", "ONLINE");
    QAction* offline = addEntry(mode, "mnuModeOffline", "OFFLINE");
    // The check marks are set by the handlers alone: they show the mode in force.
    online->setCheckable(true);
    offline->setCheckable(true);
    connect(online, &QAction::triggered, this, [this, online](bool) {
        online->setChecked(!online->isChecked());  // undo Qt's own toggle
        mnuModeOnlineClick();
    });
    connect(offline, &QAction::triggered, this, [this, offline](bool) {
        offline->setChecked(!offline->isChecked());
        mnuModeOfflineClick();
    });

    QMenu* setup = bar->addMenu("&Setup");
    setup->setObjectName("mnuSetup");
    addEntry(setup, "mnuOptionsSessionInformation", "Session Information", {}, false);
    addSeparator(setup, "mnuSepBar0");
    QAction* primary = addEntry(setup, "mnuSetupPrimarySystem", PrimaryCaption);
    primary->setCheckable(true);
    connect(primary, &QAction::triggered, this, [this, primary](bool) {
        primary->setChecked(shell_.config.Systems[1].InUse);
        hooks.setupSystem(1);
    });
    addSeparator(setup, "mnuSetupBar1");
    for (int s = 2; s <= 4; ++s) {
        QAction* a = addEntry(setup, "mnuSetupSystem", SecondaryCaptions[s - 2]);
        a->setProperty("index", s);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, a, s](bool) {
            a->setChecked(shell_.config.Systems[s].InUse);
            hooks.setupSystem(s);
        });
    }

    QMenu* window = bar->addMenu("&Window");
    window->setObjectName("mnuWindow");
    connect(addEntry(window, "mnuWindowNewWindow", "&New Window"), &QAction::triggered, this,
            &MainWindow::windowNewWindow);
    addSeparator(window, "mnuWindowBar1");
    connect(addEntry(window, "mnuWindowCascade", "&Cascade"), &QAction::triggered, this,
            [this] { arrange(Arrangement::Cascade); });
    connect(addEntry(window, "mnuWindowTileHorizontal", "Tile &Horizontal"), &QAction::triggered, this,
            [this] { arrange(Arrangement::TileHorizontal); });
    connect(addEntry(window, "mnuWindowTileVertical", "Tile &Vertical"), &QAction::triggered, this,
            [this] { arrange(Arrangement::TileVertical); });
    connect(addEntry(window, "mnuWindowArrangeIcons", "&Arrange Icons"), &QAction::triggered, this,
            [this] { arrange(Arrangement::ArrangeIcons); });
    connect(window, &QMenu::aboutToShow, this, &MainWindow::fillWindowMenu);

    QMenu* options = bar->addMenu("&Options");
    options->setObjectName("mnuOptions");
    connect(addEntry(options, "mnuOptionLatLonFormat", "Lat/Lon format"), &QAction::triggered, this, [this] {
        hooks.latLonFormat();
    });

    QMenu* help = bar->addMenu("&Help");
    help->setObjectName("mnuHelp");
    addEntry(help, "mnuHelpContents", "&Contents", {}, false);
    addEntry(help, "mnuHelpSearch", "&Search For Help On...", {}, false);
    addSeparator(help, "mnuHelpBar1");
    connect(addEntry(help, "mnuHelpAbout", "&About Tiderune..."), &QAction::triggered, this, [this] {
        hooks.about();
    });
}

void MainWindow::fillWindowMenu() {
    // The Window menu lists the visible child windows; choosing one brings it forward, and
    // into view where it stands beyond the visible part of the area.
    QMenu* window = menuBar()->findChild<QMenu*>("mnuWindow");
    for (QAction* a : windowListActions_) {
        window->removeAction(a);
        a->deleteLater();
    }
    windowListActions_.clear();
    const auto subs = mdi_->subWindowList();
    int n = 0;
    for (QMdiSubWindow* sub : subs) {
        if (!sub->isVisible()) continue;
        if (n == 0) windowListActions_.append(window->addSeparator());
        QAction* a = window->addAction(QString("&%1 %2").arg(++n).arg(sub->windowTitle()));
        a->setCheckable(true);
        a->setChecked(sub == mdi_->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, sub] {
            mdi_->setActiveSubWindow(sub);
            scrollIntoView(sub);
        });
        windowListActions_.append(a);
    }
}

void MainWindow::scrollIntoView(QMdiSubWindow* sub) {
    // Its top left corner where it lies out of sight that way, or where its title bar would
    // not show whole.
    const QRect view = mdi_->viewport()->rect();
    const QRect g = sub->geometry();
    const int title = childTitleBar();
    if (g.left() < 0 || g.left() + std::min(g.width(), 4 * title) > view.width())
        mdi_->horizontalScrollBar()->setValue(mdi_->horizontalScrollBar()->value() + g.left());
    if (g.top() < 0 || g.top() + title > view.height())
        mdi_->verticalScrollBar()->setValue(mdi_->verticalScrollBar()->value() + g.top());
}

int MainWindow::childTitleBar() const {
    // The style's title bar, or where the windows' contents begin below their frames' tops
    // where the frame adds a border to it.
    int bar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (sub->widget()) bar = std::max(bar, sub->widget()->y());
    return bar;
}

TileLimits MainWindow::arrangeLimits(QMdiSubWindow* sub) const {
    // At least what the window needs to read, with the frame around it; never less than a
    // usable window, and a fixed size (the offline status window) as it is.
    QSize least = sub->minimumSize().expandedTo(sub->minimumSizeHint()).expandedTo(
        QSize(fromTwips(UsableWidthTwips), fromTwips(UsableHeightTwips)));
    if (auto* child = qobject_cast<ChildWindow*>(sub->widget()))
        least = least.expandedTo(child->readableSize() + (sub->size() - child->size()));
    const QSize most = sub->maximumSize();
    least = least.boundedTo(most);
    return {least.width(), least.height(), most.width(), most.height()};
}

void MainWindow::arrange(Arrangement how) {
    QList<QMdiSubWindow*> open, minimised, pile;
    // Bottom to top, so that a cascade keeps the pile as it was, the front window in front.
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::StackingOrder)) {
        if (!sub->isVisible()) continue;
        (sub->isMinimized() ? minimised : open).append(sub);
        pile.append(sub);
    }
    // Everything is placed from the area's origin: a scrolled area scrolls back to it first.
    mdi_->horizontalScrollBar()->setValue(0);
    mdi_->verticalScrollBar()->setValue(0);
    const QRect area = mdi_->viewport()->rect();
    if (how == Arrangement::ArrangeIcons) {
        // The minimised windows in a row along the bottom edge.
        int x = 0;
        for (QMdiSubWindow* sub : minimised) {
            QSize s = sub->size();
            if (x > 0 && x + s.width() > area.width()) x = 0;
            sub->move(x, area.height() - s.height());
            x += s.width();
        }
        return;
    }
    if (open.isEmpty()) return;
    for (QMdiSubWindow* sub : open)
        if (sub->isMaximized()) sub->showNormal();
    // The offline status window opens at the top left corner whenever the program starts: the
    // arrangements leave it that corner, so that after a restart it covers no other window.
    QMdiSubWindow* status = offlineStatus_ ? qobject_cast<QMdiSubWindow*>(offlineStatus_->parentWidget()) : nullptr;
    if (status && open.removeOne(status)) open.prepend(status);
    // The whole area, as if it had no scroll bars: those the arrangement needs come after it.
    const QSize whole = mdi_->maximumViewportSize();
    const int n = static_cast<int>(open.size());
    if (how == Arrangement::Cascade) {
        // One title bar further down and right for each window, the stagger below the status
        // window when it is open.
        const int step = childTitleBar();
        int top = 0;
        if (open.front() == status) {
            status->move(0, 0);
            top = status->height();
            open.removeFirst();
        }
        std::vector<CascadeWindow> windows;
        for (QMdiSubWindow* sub : open) windows.push_back({sub->width(), sub->height(), arrangeLimits(sub)});
        const std::vector<TileBox> boxes = cascadeWindows(whole.width(), whole.height() - top, step, windows);
        for (int i = 0; i < static_cast<int>(open.size()); ++i) {
            const TileBox& b = boxes[static_cast<std::size_t>(i)];
            open[i]->setGeometry(b.x, top + b.y, b.width, b.height);
        }
        if (!open.isEmpty()) mdi_->setActiveSubWindow(open.last());
        for (QMdiSubWindow* sub : pile) sub->raise();
        return;
    }
    // Tile: every window a place of its own, at least the size at which it reads, the
    // minimised ones left in their row along the bottom.
    QRect tiled(QPoint(0, 0), whole);
    for (QMdiSubWindow* sub : minimised) tiled.setBottom(std::min(tiled.bottom(), area.bottom() - sub->height()));
    std::vector<TileLimits> limits;
    for (QMdiSubWindow* sub : open) limits.push_back(arrangeLimits(sub));
    const std::vector<TileBox> boxes =
        tileWindows(tiled.width(), tiled.height(), limits,
                    how == Arrangement::TileHorizontal ? TileDirection::Horizontal : TileDirection::Vertical,
                    style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    for (int i = 0; i < n; ++i) {
        const TileBox& b = boxes[static_cast<std::size_t>(i)];
        const QRect box(tiled.x() + b.x, tiled.y() + b.y, b.width, b.height);
        QMdiSubWindow* sub = open[i];
        sub->setGeometry(box);
        // A window that keeps its own proportions (the scatter plot takes its width from its
        // height) may come out larger than its place: it is made smaller, both ways alike,
        // until it fits.
        for (int tries = 0; tries < 4 && !box.contains(sub->geometry()); ++tries) {
            const QSize got = sub->size();
            const double f = std::min(double(box.width()) / got.width(), double(box.height()) / got.height());
            sub->setGeometry(QRect(box.topLeft(), QSize(int(got.width() * f), int(got.height() * f))));
        }
    }
}

void MainWindow::buildToolBars() {
    tbOnline_ = addToolBar("Online");
    tbOnline_->setObjectName("tbOnline");
    tbOnline_->setMovable(false);
    addButton(tbOnline_, "START", "START", false);
    addButton(tbOnline_, "PAUSE", "PAUSE", true);
    addButton(tbOnline_, "RESET ALL", "RESET ALL", true);
    addButton(tbOnline_, "Reset Statistics", "Reset Statistics", true);
    addButton(tbOnline_, "Reset Graphics", "Reset Graphics", true);
    addButton(tbOnline_, "LOG", "LOG On", true);
    addButton(tbOnline_, "Connect 1", "Connect System1", false)->setToolTip("Connect system 1 to IP xxxxxxx");
    connect(tbOnline_, &QToolBar::actionTriggered, this,
            [this](QAction* a) { tbOnlineButtonClick(buttonKey(a)); });

    tbOffline_ = addToolBar("Offline");
    tbOffline_->setObjectName("tbOffline");
    tbOffline_->setMovable(false);
    addButton(tbOffline_, "PLAY", "PLAY", true);
    addButton(tbOffline_, "Step", "Step", true);
    addButton(tbOffline_, "PAUSE", "PAUSE", false);
    addButton(tbOffline_, "STOP", "STOP", false);
    addButton(tbOffline_, "Real time", "Real time", false);
    addButton(tbOffline_, "QUICK", "QUICK", false);
    connect(tbOffline_, &QToolBar::actionTriggered, this, [this](QAction* a) {
        hooks.offlineButton(buttonKey(a));
    });
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("sbStatusBar");
    bar->setSizeGripEnabled(false);
    struct Design {
        const char* text;
        int minTwips;
        bool centred;
    };
    static const Design Panels[13] = {
        {"Mode : ONLINE", 1440, false}, {"Logging : Off", 2370, false},
        {"  Checksum errors :  ", 1000, false}, {"n/a", 600, true}, {"n/a", 600, true},
        {"n/a", 600, true}, {"n/a", 600, true}, {"Ignored msg : ", 800, false},
        {"n/a", 600, true}, {"n/a", 600, true}, {"n/a", 600, true}, {"n/a", 600, true},
        {"", 1000, true}};
    for (int i = 0; i < 13; ++i) {
        auto* l = new QLabel(toQt(Panels[i].text), bar);
        l->setObjectName(QString("sbPanel%1").arg(i + 1));
        l->setMinimumWidth(fromTwips(Panels[i].minTwips));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        if (Panels[i].centred) l->setAlignment(Qt::AlignCenter);
        bar->addWidget(l, i == 12 ? 1 : 0);
        panels_.append(l);
    }
    clock_ = new QTimer(this);
    auto tick = [this] {
        const ClockTime t = shell_.services.clock.now();
        panels_[12]->setText(QString::asprintf("%02d:%02d", t.hour, t.minute));
    };
    connect(clock_, &QTimer::timeout, this, tick);
    tick();
    clock_->start(1000);
}

QAction* MainWindow::action(const QString& name) const { return findChild<QAction*>(name); }

QAction* MainWindow::button(QToolBar* bar, const QString& key) {
    for (QAction* a : bar->actions())
        if (buttonKey(a) == key) return a;
    return nullptr;
}

void MainWindow::setButtonKey(QAction* button, const QString& key) { button->setProperty(KeyProperty, key); }
QString MainWindow::buttonKey(QAction* button) { return button->property(KeyProperty).toString(); }

QString MainWindow::panelText(int panel) const { return panels_.value(panel - 1) ? panels_[panel - 1]->text() : QString(); }
void MainWindow::setPanelText(int panel, const QString& text) {
    // Set now: a count waiting for the tick would otherwise overwrite it later.
    pendingPanels_.remove(panel);
    if (panel >= 1 && panel <= panels_.size()) panels_[panel - 1]->setText(text);
}
void MainWindow::setStatusPanel(int panel, const std::string& text) {
    if (panel < 1 || panel > panels_.size()) return;
    pendingPanels_.insert(panel, toQt(text));
    redrawTick_.scheduleStatusBarDraw([this] {
        const QMap<int, QString> due = std::exchange(pendingPanels_, {});
        for (auto it = due.begin(); it != due.end(); ++it) panels_[it.key() - 1]->setText(it.value());
    });
}
SocketStatus MainWindow::socketStatus(int system) const {
    if (!isValidSystem(system)) return {};
    TcpClient& tcp = sources_->tcp(system);
    return {tcp.state(), tcp.remoteHost()};
}

bool MainWindow::isPanelShown(int panel) const {
    return panel >= 1 && panel <= panels_.size() && !panels_[panel - 1]->isHidden();
}
void MainWindow::setPanelShown(int panel, bool shown) {
    if (panel >= 1 && panel <= panels_.size()) panels_[panel - 1]->setVisible(shown);
}

// ---------------------------------------------------------------- start-up

void MainWindow::MDIFormLoad() {
    shell_.config.OutlierLimit = 15.0f;
    setWindowTitle(QString(ApplicationTitle) + " - Version : " + Shell::VersionText);
    restorePlacement();
    InitialiseProgram();
    ApplySetupToMainWindow();
}

namespace {
// The main window's state as its placement keeps it: normal or maximised.
const char* const StateKey = "MainWindowState";
constexpr int StateNormal = 0;
constexpr int StateMaximised = 2;

// The work area (the screen less its panels) of the screen under a window's frame.
QRect screenWorkArea(const QRect& frame) {
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}
}  // namespace

void MainWindow::restorePlacement() {
    const TwipsPlacement byDefault{1000, 1000, 13000, 13000};
    const TwipsPlacement stored{shell_.settingNumber("MainLeft", byDefault.left),
                                shell_.settingNumber("MainTop", byDefault.top),
                                shell_.settingNumber("MainWidth", byDefault.width),
                                shell_.settingNumber("MainHeight", byDefault.height)};
    // A window that would stick out of the work area, its status bar below the screen's
    // edge, gives way to the default; so does the maximised size an earlier version saved.
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const ScreenRect frame = mainWindowFrame(stored, byDefault, titleBar, [](const ScreenRect& f) {
        const QRect area = screenWorkArea(QRect(f.x, f.y, f.width, f.height));
        return ScreenRect{area.x(), area.y(), area.width(), area.height()};
    });
    move(frame.x, frame.y);
    resize(frame.width, frame.height - titleBar);
    normal_ = QRect(pos(), size());
    // Shown maximised when it was left so; its normal place is the one above.
    if (shell_.settingNumber(StateKey, StateNormal) == StateMaximised) setWindowState(Qt::WindowMaximized);
}

void MainWindow::followNormalPlace() {
    if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        normal_ = QRect(pos(), size());
}

void MainWindow::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    followNormalPlace();
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    followNormalPlace();
}

void MainWindow::InitialiseProgram() {
    StartDates(shell_.coreState, shell_.services.clock.now().dayCount());
    std::string error;
    if (!ensureFolder(shell_.appFolder(), &error))
        shell_.ask("The program folder " + shell_.appFolder() + " could not be created: " + error,
                   MessageButtons::Ok, MessageAnswer::Ok, MessageIcon::Critical);
    std::error_code ec;
    if (std::filesystem::exists(ownSetup_.path(), ec)) {
        loadSetup(ownSetup_.path());
    } else {
        shell_.ask("No setupfile exist. You have to define a primary system under Setup and open relevant "
                   "windows for display under Window! ",
                   MessageButtons::Ok, MessageAnswer::Ok, MessageIcon::Information);
        shell_.core.LoadDefaultSetup();
    }
    shell_.state.SystemColour[1] = 0xFF0000;
    shell_.state.SystemColour[2] = 0x8000;
    shell_.state.SystemColour[3] = 0xFF;
    shell_.state.SystemColour[4] = 0xC0C0;
    shell_.windows.create();
    if (!shell_.config.LatLonFormatDMS && shell_.config.LatLonDecimals == 0) shell_.config.LatLonDecimals = 4;
    shell_.core.InitAISTables(shell_.gate);
}

void MainWindow::ApplySetupToMainWindow() {
    Config& c = shell_.config;
    c.BaseDataFlag = -1;
    for (int s = 1; s <= MaxSystems; ++s) shell_.core.SetAnalysedMessageTypes(s);
    if (c.Mode == "OFFLINE")
        mnuModeOfflineClick();
    else
        mnuModeOnlineClick();
    for (int s = 1; s <= MaxSystems; ++s) {
        if (c.Systems[s].InUse) {
            setPanelText(s + 3, c.ChecksumTest[s] ? "0" : "n/a");
            setPanelText(s + 8, c.EmptyBuffer[s] ? "0" : "n/a");
        } else {
            setPanelShown(s + 3, false);
            setPanelShown(s + 8, false);
        }
    }
    QAction* primary = action("mnuSetupPrimarySystem");
    primary->setChecked(c.Systems[1].InUse);
    primary->setText(primary->text().left(26) + toQt(c.Systems[1].Name));
    for (QAction* a : findChildren<QAction*>("mnuSetupSystem")) {
        int s = a->property("index").toInt();
        a->setChecked(c.Systems[s].InUse);
        a->setText(a->text().left(22) + toQt(c.Systems[s].Name));
    }
    shell_.state.StartupDone = true;
}

void MainWindow::CloseSystemWindows() {
    action("mnuModeOnline")->setChecked(false);
    action("mnuModeOffline")->setChecked(false);
    if (shell_.run.OfflineRunning) shell_.run.OfflineStop = true;
    // Loading a setup sets every window's open word from the file, so a window left open now
    // would stay on screen without being fed: the per-system windows of every system close,
    // and the ones the new setup records as open come back with its mode switch.
    static constexpr WindowKind Closed[] = {WindowKind::Numerics,   WindowKind::Statistics,
                                            WindowKind::StatisticsSNR, WindowKind::NMEA,
                                            WindowKind::Skyplot,    WindowKind::AISTargets,
                                            WindowKind::ARPATargets};
    for (int s = 1; s <= MaxSystems; ++s)
        for (WindowKind k : Closed)
            if (shell_.windows.slot(k, s).isLoaded()) shell_.windows.slot(k, s).unload();
    // Every source closes too: the new setup's mode switch opens those of the systems it puts
    // in use and no other (a setup that fails to load leaves none in use).
    sources_->closeSerialPorts();
    sources_->closeSockets();
}

void MainWindow::FitChildWindow(QWidget* child) {
    // Against the size the main window has on screen: the windows a start-up opens in a main
    // window that comes up maximised would else be pulled into its normal size.
    const QRect frame = shownFrame(*this);
    const double mainHeight = toTwips(frame.height());
    const double mainWidth = toTwips(frame.width());
    QRect g = child->geometry();
    if (toTwips(g.y()) > mainHeight - 1750) g.moveTop(fromTwips(mainHeight - 2250));
    if (toTwips(g.x()) > mainWidth - 1750) g.moveLeft(fromTwips(mainWidth - 2750));
    child->setGeometry(g);
}

// ---------------------------------------------------------------- mode switch

namespace {
const char* const ChangeModeQuestion =
    "Are you sure you want to change mode ? All statistics and timeseries wil be reset.";
}

void MainWindow::mnuModeOfflineClick() {
    QAction* offline = action("mnuModeOffline");
    QAction* online = action("mnuModeOnline");
    if (offline->isChecked()) return;
    if (online->isChecked() &&
        shell_.ask(ChangeModeQuestion, MessageButtons::YesNo, MessageAnswer::No, MessageIcon::Question) != MessageAnswer::Yes)
        return;
    shell_.config.Mode = "OFFLINE";
    offline->setChecked(true);
    online->setChecked(false);
    tbOnline_->hide();
    tbOffline_->show();
    setPanelText(1, "Mode : OFFLINE");
    shell_.run.OnlinePaused = false;
    sources_->closeSerialPorts();
    // Live lines must not mix into a replay: the sockets close with the serial ports.
    sources_->closeSockets();
    for (QAction* a : findChildren<QAction*>("mnuSetupSystem")) a->setEnabled(false);
    for (int s = 2; s <= MaxSystems; ++s) shell_.config.Systems[s].InUse = false;
    resets_->ResetAll();
    showOfflineStatus();
}

void MainWindow::mnuModeOnlineClick() {
    QAction* offline = action("mnuModeOffline");
    QAction* online = action("mnuModeOnline");
    if (online->isChecked()) return;
    if (offline->isChecked() &&
        shell_.ask(ChangeModeQuestion, MessageButtons::YesNo, MessageAnswer::No, MessageIcon::Question) != MessageAnswer::Yes)
        return;
    shell_.config.Mode = "ONLINE";
    if (shell_.run.OfflineRunning) shell_.run.OfflineStop = true;
    unloadOfflineStatus();
    offline->setChecked(false);
    online->setChecked(true);
    tbOnline_->show();
    tbOffline_->hide();
    setPanelText(1, "Mode : ONLINE");
    for (QAction* a : findChildren<QAction*>("mnuSetupSystem")) a->setEnabled(true);
    resets_->ResetAll();
    sources_->OpenDataSources();
}

void MainWindow::showOfflineStatus() {
    if (!offlineStatus_) {
        offlineStatus_ = new OfflineStatusWindow(shell_);
        QMdiSubWindow* frame = mdi_->addSubWindow(offlineStatus_, Qt::Window | Qt::WindowTitleHint |
                                                                      Qt::WindowSystemMenuHint |
                                                                      Qt::WindowMinimizeButtonHint);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        offlineStatus_->load();
        keepTitleBarsInSight(frame);
    } else {
        // After File Open the window is still there: it shows the new setup, the file the
        // next PLAY replays, and nothing of the old setup's replay.
        offlineStatus_->showNoReplay();
    }
    offlineStatus_->parentWidget()->show();
    offlineStatus_->parentWidget()->raise();
}

void MainWindow::keepTitleBarsInSight(QMdiSubWindow* opening) {
    std::vector<QMdiSubWindow*> subs;
    std::vector<TileBox> places;
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (sub == opening || sub->isHidden() || sub->isMinimized() || sub->isMaximized()) continue;
        subs.push_back(sub);
        places.push_back({sub->x(), sub->y(), sub->width(), sub->height()});
    }
    const QRect o = opening->geometry();
    const std::vector<TileBox> moved = clearOfOpeningWindow({o.x(), o.y(), o.width(), o.height()}, places, childTitleBar());
    for (std::size_t i = 0; i < subs.size(); ++i)
        if (moved[i] != places[i]) subs[i]->move(moved[i].x, moved[i].y);
}

void MainWindow::unloadOfflineStatus() {
    if (offlineStatus_) {
        QWidget* frame = offlineStatus_->parentWidget();
        frame->close();
        offlineStatus_ = nullptr;
    }
}

// ---------------------------------------------------------------- online toolbar

void MainWindow::tbOnlineButtonClick(const QString& key) {
    if (key == "START") {
        shell_.run.OnlinePaused = false;
    } else if (key == "PAUSE") {
        shell_.run.OnlinePaused = true;
        QAction* b = button(tbOnline_, "START");
        b->setEnabled(true);
        b->setText("CONTINUE");
    } else if (key == "RESET ALL" || key == "Reset Statistics" || key == "Reset Graphics") {
        if (shell_.ask("Are you sure ?", MessageButtons::YesNo, MessageAnswer::Yes) != MessageAnswer::Yes) return;
        if (key == "RESET ALL") {
            resets_->ResetAll();
        } else if (key == "Reset Statistics") {
            resets_->ResetStatistics();
        } else {
            resets_->ResetGraphics();
            resets_->ResetScatter();
        }
    } else if (key == "LOG") {
        hooks.toggleLogging();
        const bool on = shell_.run.LoggingOn;
        button(tbOnline_, "LOG")->setText(on ? "LOG Off" : "LOG On");
        setPanelText(2, on ? "Logging : On" : "Logging : Off");
    }
}

// ---------------------------------------------------------------- menus

namespace {
FileDialogRequest setupDialog(const char* title, const std::string& folder) {
    return {title, "Tiderune setup files (*.ini)|*.ini", "ini", folder, {}};
}
}  // namespace

void MainWindow::fileOpen() {
    std::optional<std::string> chosen = shell_.services.fileDialogs.showOpen(setupDialog("Open Setup File", shell_.appFolder()));
    if (!chosen || chosen->empty()) return;
    const std::string& path = *chosen;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        shell_.ask("File " + fileNameText(path) + " do not exist.", MessageButtons::Ok, MessageAnswer::Ok, MessageIcon::Information);
        return;
    }
    // A recording or any other file chosen by mistake is refused before anything changes.
    std::string unreadable;
    if (!HoldsSetupSection(path, &unreadable)) {
        shell_.ask(unreadable.empty() ? "File " + fileNameText(path) + " is not a setup file. Nothing was changed."
                                      : "File " + fileNameText(path) + " could not be read : " + unreadable +
                                            ". Nothing was changed.",
                   MessageButtons::Ok, MessageAnswer::Ok, MessageIcon::Exclamation);
        return;
    }
    CloseSystemWindows();
    // Another setup: each parser failure is shown again the first time it comes back.
    shell_.coreState.parserNotices.reset();
    loadSetup(path);
    shell_.state.StartupDone = true;
    ApplySetupToMainWindow();
}

bool MainWindow::loadSetup(const std::string& path) {
    return ownSetup_.load(path, [&](SavedOver over) { return shell_.core.LoadSetupFile(path, shell_.gate, over); });
}

bool MainWindow::saveSetup(const std::string& path, bool sayWhere) {
    const std::string failure = ownSetup_.save(path, [&] { shell_.core.SaveSetupFile(path); });
    if (!failure.empty()) {
        // Not saved: say so instead of reporting a save that did not happen.
        shell_.ask(failure, MessageButtons::Ok, MessageAnswer::Ok, MessageIcon::Critical);
        return false;
    }
    if (sayWhere)
        shell_.ask("Setup saved as " + fileNameText(path), MessageButtons::Ok, MessageAnswer::Ok, MessageIcon::Information);
    return true;
}

void MainWindow::fileSave() { saveSetup(shell_.setupFilePath(), true); }

void MainWindow::fileSaveAs() {
    std::optional<std::string> chosen = shell_.services.fileDialogs.showSave(setupDialog("Save Setup As", shell_.appFolder()));
    if (!chosen || chosen->empty()) return;
    saveSetup(*chosen, true);
}

void MainWindow::filePrint() {
    hooks.print();
}

void MainWindow::windowNewWindow() {
    if (!shell_.config.Systems[1].InUse) {
        shell_.ask("No primary system are defined. Go to Setup first !");
        return;
    }
    if (!newWindow_) {
        newWindow_ = new NewWindowDialog(shell_, this);
        newWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    newWindow_->show();
    newWindow_->raise();
}

// ---------------------------------------------------------------- closing

bool MainWindow::queryUnload() {
    saveSetup(shell_.setupFilePath(), false);
    // Every window's question comes before any window closes: one No leaves every window
    // as it was, the replay included, and asks nothing more.
    // (A question waits in an event loop of its own: a window may go meanwhile.)
    QList<QPointer<QMdiSubWindow>> subs;
    for (QMdiSubWindow* sub : mdi_->subWindowList()) subs.append(sub);
    for (const QPointer<QMdiSubWindow>& sub : subs)
        if (auto* w = sub ? qobject_cast<ChildWindow*>(sub->widget()) : nullptr; w && !w->confirmClose()) return false;
    shell_.state.AppClosing = true;
    // A replay waiting in its pause must end, or the program could never finish.
    if (shell_.run.OfflineRunning) shell_.run.OfflineStop = true;
    for (const QPointer<QMdiSubWindow>& sub : subs) {
        if (!sub) continue;
        auto* w = qobject_cast<ChildWindow*>(sub->widget());
        if (!(w ? w->closeConfirmed() : sub->close())) {
            // A window that refuses even now stops the exit: the program runs on.
            shell_.state.AppClosing = false;
            return false;
        }
    }
    return true;
}

void MainWindow::unloadMainWindow() {
    if (shell_.run.LoggingOn) hooks.toggleLogging();
    if (!isMinimized()) {
        // A maximised window keeps its normal place and says that it was maximised, so that
        // the next start gives back both.
        followNormalPlace();
        shell_.setSettingNumber("MainLeft", toTwips(normal_.x()));
        shell_.setSettingNumber("MainTop", toTwips(normal_.y()));
        shell_.setSettingNumber("MainWidth", toTwips(normal_.width()));
        shell_.setSettingNumber("MainHeight", toTwips(normal_.height()));
        shell_.setSettingNumber(StateKey, isMaximized() ? StateMaximised : StateNormal);
    }
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (!queryUnload()) {
        e->ignore();
        return;
    }
    unloadMainWindow();
    e->accept();
}

}  // namespace tiderune
