#include "app/offline_status_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QResizeEvent>

#include "frame/shell.h"
#include "platform/qt/qt_edge.h"

namespace tiderune {

OfflineStatusWindow::OfflineStatusWindow(Shell& shell, QWidget* parent) : QWidget(parent), shell_(shell) {
    setObjectName("frmOfflineStatus");
    setWindowTitle("Tiderune-  OFFLINE STATUS");
    auto* grid = new QGridLayout(this);
    lblFileName = makeLabel(this, "lblFileName", "no file selected");
    lblStatus = makeLabel(this, "lblStatus", "not started");
    lblStartTime = makeLabel(this, "lblStartTime", "");
    lblTimeHeader = makeLabel(this, "lblTimeHeader", "Current time :");
    lblCurrentTime = makeLabel(this, "lblCurrentTime", "");
    lblProcessingTime = makeLabel(this, "lblProcessingTime", "00:00:00");
    lblPause = makeLabel(this, "lblPause", "(including pause)");
    lblPause->hide();
    grid->addWidget(makeLabel(this, "", "Input File : "), 0, 0);
    grid->addWidget(lblFileName, 0, 1, 1, 3);
    grid->addWidget(makeLabel(this, "", "Status : "), 1, 0);
    grid->addWidget(lblStatus, 1, 1, 1, 3);
    grid->addWidget(makeLabel(this, "", "Started at : "), 2, 0);
    grid->addWidget(lblStartTime, 2, 1);
    grid->addWidget(lblTimeHeader, 2, 2);
    grid->addWidget(lblCurrentTime, 2, 3);
    grid->addWidget(makeLabel(this, "", "Processing time :"), 3, 0);
    grid->addWidget(lblProcessingTime, 3, 1);
    grid->addWidget(lblPause, 3, 2);
}

void OfflineStatusWindow::load() {
    QWidget* frame = parentWidget() ? parentWidget() : this;
    // A fixed size: the user cannot resize the window. Maximized (another child maximized
    // carries the main window's children with it) or minimized it is sized like the others.
    keepDesignSize(frame);
    if (frame != this) frame->installEventFilter(this);
    frame->move(0, 0);
    showNoReplay();
}

void OfflineStatusWindow::showNoReplay() {
    lblFileName->setText(toQt(fileNameText(shell_.config.Systems[1].OfflineFile)));
    lblStatus->setText("not started");
    lblStatus->setPalette(QPalette());  // the window's own colours, not a replay's red
    lblStartTime->setText("   n/a");
    lblCurrentTime->setText("   n/a");
    lblProcessingTime->setText("   n/a");
    lblPause->hide();
}

void OfflineStatusWindow::keepDesignSize(QWidget* frame) {
    // Minimized it shrinks to a title bar like every other icon; maximized it fills the work
    // area, its texts keeping the room and the places they have in the normal window, at the
    // top left, rather than spread over the work area. Only in its normal state is its size
    // fixed.
    const Qt::WindowStates state = frame->windowState();
    const bool keepRoom = (state & Qt::WindowMaximized) && normalRoom_.isValid();
    if (state & (Qt::WindowMaximized | Qt::WindowMinimized)) {
        frame->setMinimumSize(0, 0);
        frame->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        frame->setFixedSize(fromTwips(10000), fromTwips(3000));
    }
    if (keepRoom) {
        setFixedSize(normalRoom_);
    } else {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (frame != this && frame->layout())
        frame->layout()->setAlignment(this, keepRoom ? Qt::AlignLeft | Qt::AlignTop : Qt::Alignment());
}

void OfflineStatusWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const QWidget* frame = parentWidget();
    if (frame && !(frame->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) normalRoom_ = size();
}

bool OfflineStatusWindow::eventFilter(QObject* watched, QEvent* e) {
    QWidget* frame = parentWidget();
    if (watched != frame || e->type() != QEvent::WindowStateChange) return QWidget::eventFilter(watched, e);
    // The frame's new state is set before the frame sizes itself for it, so that maximized or
    // minimized it can size itself at once. Back from maximized, its fixed size waits until
    // the frame has restored itself: fixed inside the change, the frame of the work area's
    // active window goes back to maximized.
    const bool fromMaximized = static_cast<QWindowStateChangeEvent*>(e)->oldState() & Qt::WindowMaximized;
    if ((frame->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) || !fromMaximized) {
        keepDesignSize(frame);
    } else {
        QMetaObject::invokeMethod(
            this, [this, frame] {
                if (parentWidget() == frame && !(frame->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
                    keepDesignSize(frame);
            },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace tiderune
