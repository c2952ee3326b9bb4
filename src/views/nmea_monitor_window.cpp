#include "views/nmea_monitor_window.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QEvent>
#include <algorithm>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextCursor>
#include <QVBoxLayout>

#include "app/data_sources.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "app/twips.h"
#include "core/indexed.h"
#include "platform/sockets.h"

namespace tiderune {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const char* text) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    if (*name) l->setObjectName(name);
    return l;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

// Text box background of systems 2 to 4, as Windows colour values (red in the low byte);
// system 1 keeps the plain background.
std::uint32_t textBoxColour(int system) {
    switch (system) {
    case 2: return 0xC0FFC0;  // light green
    case 3: return 0xC0E0FF;  // light orange
    case 4: return 0xC0FFFF;  // light yellow
    default: return 0;
    }
}

QColor fromWindowsColour(std::uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

}  // namespace

NMEAMonitorWindow::NMEAMonitorWindow(Shell& shell, QWidget* parent) : ChildWindow(shell, WindowKind::NMEA, parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 0);
    outer->setSpacing(4);

    auto* buttons = new QHBoxLayout;
    cmdCLS = makeButton(this, "cmdCLS", "Clear ");
    cmdFreeze = makeButton(this, "cmdFreeze", "Freeze");
    cmdResetCounters = makeButton(this, "cmdResetCounters", "Reset Counters");
    buttons->addWidget(cmdCLS);
    buttons->addWidget(cmdFreeze);
    buttons->addWidget(cmdResetCounters);
    buttons->addStretch(1);
    outer->addLayout(buttons);
    connect(cmdCLS, &QPushButton::clicked, this, [this] { cmdCLSClick(); });
    connect(cmdFreeze, &QPushButton::clicked, this, [this] { cmdFreezeClick(); });
    connect(cmdResetCounters, &QPushButton::clicked, this, [this] { cmdResetCountersClick(); });

    auto* counters = new QGridLayout;
    counters->setHorizontalSpacing(8);
    counters->setVerticalSpacing(2);
    lblMessages = makeLabel(this, "lblMessages", "0");
    lblNMEACount = makeLabel(this, "lblNMEACount", "0");
    lblAISCount = makeLabel(this, "lblAISCount", "0");
    lblCheckSumOK = makeLabel(this, "lblCheckSumOK", "0");
    lblCheckSumError = makeLabel(this, "lblCheckSumError", "0");
    const struct {
        const char* caption;
        QLabel* value;
        int row, column;
    } cells[] = {{"Number of messages", lblMessages, 0, 0},   {"Recognized as NMEA", lblNMEACount, 0, 2},
                 {"Recognized as AIS", lblAISCount, 0, 4},    {"Checksum OK", lblCheckSumOK, 1, 0},
                 {"Checksum Error", lblCheckSumError, 1, 2}};
    for (const auto& c : cells) {
        counters->addWidget(makeLabel(this, "", c.caption), c.row, c.column);
        // A fixed size: a counter that grows a digit does not lay the window out again.
        c.value->setFixedSize(fromTwips(1100), c.value->sizeHint().height());
        counters->addWidget(c.value, c.row, c.column + 1);
    }
    counters->setColumnStretch(6, 1);
    outer->addLayout(counters);

    auto* buffer = new QHBoxLayout;
    lblInputBuffer1 = makeLabel(this, "lblInputBuffer1", "COM-port inputbuffer :");
    lblInputBuffer2 = makeLabel(this, "lblInputBuffer2", "com-port inputbuffer");
    lblInputBuffer2->setTextFormat(Qt::PlainText);
    buffer->addWidget(lblInputBuffer1);
    // The raw line takes the rest of the row, placed by hand at a fixed size: a new line of
    // the source then neither widens the window nor lays it out again.
    buffer->addStretch(1);
    lblInputBuffer1->installEventFilter(this);
    outer->addLayout(buffer);

    txtNMEA = new QPlainTextEdit(this);
    txtNMEA->setObjectName("txtNMEA");
    txtNMEA->setReadOnly(true);
    txtNMEA->setUndoRedoEnabled(false);
    txtNMEA->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtNMEA->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Scroll bars that come and go would lay the box out again with every few lines.
    txtNMEA->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNMEA->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    outer->addWidget(txtNMEA, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    const char* panelDesign[5] = {"Comport", "Baud rate", "Data bits", "Parity", "Stop bits"};
    for (int i = 0; i < 5; ++i) {
        panels_[i] = makeLabel(StatusBar1, "", panelDesign[i]);
        panels_[i]->setObjectName(QString("StatusBar1Panel%1").arg(i + 1));
        panels_[i]->setTextFormat(Qt::PlainText);
        StatusBar1->addWidget(panels_[i], i == 0 ? 2 : 1);
    }
    outer->addWidget(StatusBar1);

    timerState_ = shell.services.devices.makeTimer();
    timerState_->setInterval(200);
    timerState_->onTimeout = [this] { timerStateTimer(); };
}

void NMEAMonitorWindow::placeInputBuffer() {
    const QRect caption = lblInputBuffer1->geometry();
    const int left = caption.right() + 7;
    const int w = std::max(0, width() - left - 4);
    lblInputBuffer2->setFixedSize(w, caption.height());
    lblInputBuffer2->move(left, caption.y());
}

bool NMEAMonitorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblInputBuffer1 && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        placeInputBuffer();
    return ChildWindow::eventFilter(watched, event);
}

void NMEAMonitorWindow::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    placeInputBuffer();
}

NMEAMonitorWindow::~NMEAMonitorWindow() {
    if (timerState_) {
        timerState_->stop();
        timerState_->onTimeout = nullptr;
    }
}

void NMEAMonitorWindow::load() {
    // The caption, the open word, the placement and the system tag.
    ChildWindow::load();
    const int s = system();
    if (std::uint32_t c = textBoxColour(s)) {
        QPalette p = txtNMEA->palette();
        p.setColor(QPalette::Base, fromWindowsColour(c));
        txtNMEA->setPalette(p);
    }
    if (shell_.config.Mode == "OFFLINE") lblInputBuffer1->setText("File inputbuffer :");
    lineCount_ = 0;
    shown_ = MonitorCounters{};  // what the labels show at first
    fillStatusBar();
}

void NMEAMonitorWindow::fillStatusBar() {
    const SystemSetup& sys = shell_.config.Systems[system()];
    // A replayed or TCP system shows its source whatever serial port number it still holds;
    // a serial (or UDP) system shows its port's settings only when it has a port.
    if (shell_.config.Mode == "OFFLINE") {
        setPanel(1, "File : " + qs(sys.OfflineFile) + "  ");
        for (int p = 2; p <= 5; ++p) setPanel(p, "");
    } else if (sys.UseTCP) {
        setPanel(1, "TCP/IP");
        setPanel(2, "IP :" + qs(sys.TCPHost));
        setPanel(3, "Port :" + qs(strForm(sys.TCPPort)));
        setPanel(5, "");
        timerState_->setInterval(200);
        timerState_->start();
    } else if (sys.ComPort != 0 && PerComPort<int>::inRange(sys.ComPort)) {
        const ComportSetting& port = shell_.config.Comports[sys.ComPort];
        setPanel(1, "Comport :" + qs(strForm(sys.ComPort)));
        setPanel(2, "Baud rate :" + qs(strForm(port.Baud)));
        setPanel(3, "Data bits :" + qs(strForm(port.DataBits)));
        setPanel(4, "Parity : " + qs(port.Parity));
        setPanel(5, "Stop bits :" + qs(strForm(port.StopBits)));
    }
}

void NMEAMonitorWindow::unload() {
    timerState_->stop();
    // Closing the monitor zeroes the system's format counters.
    cmdResetCountersClick();
    ChildWindow::unload();
}

double NMEAMonitorWindow::textBoxHeightTwips() const { return toTwips(txtNMEA->height()); }

void NMEAMonitorWindow::appendText(std::string_view text) {
    // The box shows a carriage return and line feed as one line break.
    QString t = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QTextCursor cursor(txtNMEA->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(t);
}

void NMEAMonitorWindow::showRawMessage(std::string_view text) {
    const MonitorCounters& m = shell_.coreState.Monitor[system()];
    auto show = [](QLabel* label, std::int32_t& shown, std::int32_t now) {
        if (shown == now) return;
        shown = now;
        label->setText(QString::number(now));
    };
    shown_.MonitorSentenceCount = m.MonitorSentenceCount;
    lblMessages->setText(QString::number(m.MonitorSentenceCount));

    if (!frozen_) {
        // The box keeps about as many lines as its height holds, then starts again.
        if (static_cast<int>(textBoxHeightTwips() / 255) < lineCount_) {
            txtNMEA->clear();
            lineCount_ = 0;
        }
        appendText(text);
        if (shell_.config.Mode == "OFFLINE") appendText("\r\n");
        ++lineCount_;
        txtNMEA->moveCursor(QTextCursor::End);
    }

    show(lblNMEACount, shown_.MonitorNMEACount, m.MonitorNMEACount);
    show(lblAISCount, shown_.MonitorAISCount, m.MonitorAISCount);
    show(lblCheckSumOK, shown_.MonitorChecksumOK, m.MonitorChecksumOK);
    show(lblCheckSumError, shown_.MonitorChecksumError, m.MonitorChecksumError);
}

void NMEAMonitorWindow::setInputBuffer(std::string_view text) {
    lblInputBuffer2->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void NMEAMonitorWindow::cmdCLSClick() {
    txtNMEA->clear();
    lineCount_ = 0;
}

void NMEAMonitorWindow::cmdFreezeClick() {
    if (frozen_) {
        cmdFreeze->setText("Freeze");
        frozen_ = false;
    } else {
        // The frozen view ends with an empty-looking line.
        appendText("  \r\n");
        cmdFreeze->setText("Continue");
        frozen_ = true;
    }
}

void NMEAMonitorWindow::cmdResetCountersClick() {
    if (!isValidSystem(system())) return;
    shell_.coreState.Monitor[system()] = MonitorCounters{};
    // The labels keep their text until the next line of the system is shown.
    shown_ = MonitorCounters{};
}

void NMEAMonitorWindow::timerStateTimer() {
    if (!shell_.mainWindow) return;
    TcpClient& tcp = shell_.mainWindow->sources().tcp(system());
    const int state = static_cast<int>(tcp.state());
    const QString host = qs(tcp.remoteHost());
    // The poll runs fast while a connection is being made, slowly once connected or closed.
    switch (tcp.state()) {
    case SocketState::Closed: setPanel(4, "Closed"); timerState_->setInterval(10000); break;
    case SocketState::Listening: setPanel(4, "Listening"); timerState_->setInterval(1000); break;
    case SocketState::ConnectionPending: setPanel(4, "Connection pending"); timerState_->setInterval(1000); break;
    case SocketState::ResolvingHost: setPanel(4, "Resolving host"); timerState_->setInterval(1000); break;
    case SocketState::HostResolved: setPanel(4, "Host Resolved"); timerState_->setInterval(1000); break;
    case SocketState::Connecting: setPanel(4, "Connecting to " + host); timerState_->setInterval(200); break;
    case SocketState::Connected: setPanel(4, "Connected to " + host); timerState_->setInterval(10000); break;
    case SocketState::Closing: setPanel(4, "Closing"); timerState_->setInterval(1000); break;
    case SocketState::Error: setPanel(4, "Error"); timerState_->setInterval(1000); break;
    default: setPanel(4, qs(strForm(state))); break;
    }
}

void NMEAMonitorWindow::setPanel(int panel, const QString& text) {
    if (panel >= 1 && panel <= 5) panels_[panel - 1]->setText(text);
}

QString NMEAMonitorWindow::panelText(int panel) const {
    return panel >= 1 && panel <= 5 ? panels_[panel - 1]->text() : QString();
}

NMEAMonitorWindow* monitorWindow(Shell& shell, int system) {
    if (!shell.windows.created() || !isValidSystem(system)) return nullptr;
    return qobject_cast<NMEAMonitorWindow*>(shell.windows.slot(WindowKind::NMEA, system).window());
}

void installMonitorWindows(Shell& shell) {
    shell.windows.setFactory(WindowKind::NMEA, [](Shell& s, WindowKind) { return new NMEAMonitorWindow(s); });
}

}  // namespace tiderune
