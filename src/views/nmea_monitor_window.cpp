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

#include "frame/shell.h"
#include "platform/qt/qt_edge.h"
#include "core/indexed.h"
#include "platform/sockets.h"

namespace tiderune {

namespace {

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

}  // namespace

NMEAMonitorWindow::NMEAMonitorWindow(Shell& shell, QWidget* parent) : ChildWindow(shell, WindowKind::NMEA, parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 0);
    outer->setSpacing(4);

    // The buttons share their row with the message count and the other counters follow in two
    // columns: every caption is whole at the window's default width of 8000 twips, and the text
    // box keeps the height it would have with one row of buttons and two of counters.
    auto* counters = new QGridLayout;
    counters->setHorizontalSpacing(8);
    counters->setVerticalSpacing(2);
    auto* buttons = new QHBoxLayout;
    cmdCLS = makeButton(this, "cmdCLS", "Clear ");
    cmdFreeze = makeButton(this, "cmdFreeze", "Freeze");
    cmdResetCounters = makeButton(this, "cmdResetCounters", "Reset Counters");
    // Clicks only: the keyboard stays with the text box.
    for (QPushButton* b : {cmdCLS, cmdFreeze, cmdResetCounters}) b->setFocusPolicy(Qt::NoFocus);
    buttons->addWidget(cmdCLS);
    buttons->addWidget(cmdFreeze);
    buttons->addWidget(cmdResetCounters);
    buttons->addSpacing(8);
    counters->addLayout(buttons, 0, 0, 1, 5);
    connect(cmdCLS, &QPushButton::clicked, this, [this] { cmdCLSClick(); });
    connect(cmdFreeze, &QPushButton::clicked, this, [this] { cmdFreezeClick(); });
    connect(cmdResetCounters, &QPushButton::clicked, this, [this] { cmdResetCountersClick(); });

    lblMessages = makeLabel(this, "lblMessages", "0");
    lblNMEACount = makeLabel(this, "lblNMEACount", "0");
    lblAISCount = makeLabel(this, "lblAISCount", "0");
    lblCheckSumOK = makeLabel(this, "lblCheckSumOK", "0");
    lblCheckSumError = makeLabel(this, "lblCheckSumError", "0");
    const struct {
        const char* caption;
        QLabel* value;
        int row, column;
    } cells[] = {{"Number of messages", lblMessages, 0, -1}, {"Recognized as NMEA", lblNMEACount, 1, 0},
                 {"Recognized as AIS", lblAISCount, 1, 2},   {"Checksum OK", lblCheckSumOK, 2, 0},
                 {"Checksum Error", lblCheckSumError, 2, 2}};
    for (const auto& c : cells) {
        QLabel* caption = makeLabel(this, "", c.caption);
        // A fixed size: a counter that grows a digit does not lay the window out again.
        c.value->setFixedSize(fromTwips(1100), c.value->sizeHint().height());
        if (c.column < 0) {  // on the buttons' row
            buttons->addWidget(caption);
            buttons->addSpacing(8);
            buttons->addWidget(c.value);
            continue;
        }
        counters->addWidget(caption, c.row, c.column);
        counters->addWidget(c.value, c.row, c.column + 1);
    }
    buttons->addStretch(1);
    counters->setColumnStretch(4, 1);
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
        p.setColor(QPalette::Base, toQColor(c));
        txtNMEA->setPalette(p);
    }
    lblInputBuffer1->setText(inputBufferCaption(shell_.config));
    fillStatusBar();
}

void NMEAMonitorWindow::fillStatusBar() {
    const MonitorPanels p = monitorPanels(shell_.config, system());
    for (int i = 0; i < 5; ++i)
        if (p.text[i]) setPanel(i + 1, toQt(*p.text[i]));
    if (p.pollsTcpState) {
        timerState_->setInterval(200);
        timerState_->start();
    }
}

void NMEAMonitorWindow::sourceChanged() {
    timerState_->stop();
    afterSetup_ = true;
    const SocketState tcp = shell_.hasHost() ? shell_.host().socketStatus(system()).state : SocketState::Closed;
    const MonitorPanels p = monitorPanels(shell_.config, system(), tcp);
    for (int i = 0; i < 5; ++i)
        if (p.text[i]) setPanel(i + 1, toQt(*p.text[i]));
    if (p.pollsTcpState) {
        const int interval = tcpStateText(tcp, {}).intervalMs;
        timerState_->setInterval(interval > 0 ? interval : 200);
        timerState_->start();
    }
}

void NMEAMonitorWindow::unload() {
    timerState_->stop();
    // Closing the monitor zeroes the system's format counters.
    cmdResetCountersClick();
    ChildWindow::unload();
}

double NMEAMonitorWindow::textBoxHeightTwips() const { return toTwips(txtNMEA->height()); }

void NMEAMonitorWindow::rawMessage(std::string_view text) {
    view_.showLine(text, shell_.coreState.Monitor[system()], static_cast<int>(textBoxHeightTwips() / 255),
                   shell_.config.Mode == "OFFLINE");
    markChanged();
}

void NMEAMonitorWindow::inputBuffer(std::string_view text) {
    view_.setInputBuffer(text);
    inputBufferChanged_ = true;
    markChanged();
}

void NMEAMonitorWindow::refresh() {
    const std::string& text = view_.text();
    if (drawnGeneration_ != view_.generation() || drawnText_ > text.size()) {
        txtNMEA->clear();
        drawnGeneration_ = view_.generation();
        drawnText_ = 0;
    }
    if (drawnText_ < text.size()) {
        // insertText makes a carriage return a line break of its own, as the box always has.
        QTextCursor cursor(txtNMEA->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(toQt(std::string_view(text).substr(drawnText_)));
        drawnText_ = text.size();
        if (!view_.frozen()) txtNMEA->moveCursor(QTextCursor::End);
    }
    QLabel* const labels[MonitorView::Counters] = {lblMessages, lblNMEACount, lblAISCount, lblCheckSumOK,
                                                   lblCheckSumError};
    for (int i = 0; i < MonitorView::Counters; ++i) {
        const QString n = QString::number(view_.labels()[i]);
        if (labels[i]->text() != n) labels[i]->setText(n);
    }
    if (inputBufferChanged_) {
        lblInputBuffer2->setText(toQt(view_.inputBufferLine()));
        inputBufferChanged_ = false;
    }
}

void NMEAMonitorWindow::cmdCLSClick() {
    view_.clear();
    markChanged();
    refreshIfChanged();
}

void NMEAMonitorWindow::cmdFreezeClick() {
    cmdFreeze->setText(view_.toggleFreeze() ? "Continue" : "Freeze");
    markChanged();
    refreshIfChanged();
}

void NMEAMonitorWindow::cmdResetCountersClick() {
    if (!isValidSystem(system())) return;
    shell_.coreState.Monitor[system()] = MonitorCounters{};
    // The labels keep their text until the next line of the system is shown.
    view_.countersReset();
}

void NMEAMonitorWindow::timerStateTimer() {
    if (!shell_.hasHost()) return;
    const SocketStatus tcp = shell_.host().socketStatus(system());
    const TcpStateText t = tcpStateText(tcp.state, tcp.remoteHost);
    // Since the setup's OK the panel keeps the wording OK gave it.
    setPanel(4, toQt(afterSetup_ ? setupStateText(tcp.state) : t.text));
    if (t.intervalMs > 0) timerState_->setInterval(t.intervalMs);
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

}  // namespace tiderune
