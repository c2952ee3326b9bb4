#include "qt_message_boxes.h"

#include <QMessageBox>

#include "platform/qt/qt_edge.h"

namespace tiderune {

MessageAnswer QtMessageBoxes::show(const MessageRequest& request) {
    QMessageBox box(parent_);
    box.setWindowTitle(toQt(request.effectiveTitle()));
    // The program separates lines with CR LF; a label wants LF alone.
    box.setText(toQt(request.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (request.icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    QMessageBox::StandardButtons buttons;
    switch (request.buttons) {
    case MessageButtons::Ok: buttons = QMessageBox::Ok; break;
    case MessageButtons::OkCancel: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MessageButtons::YesNo: buttons = QMessageBox::Yes | QMessageBox::No; break;
    case MessageButtons::YesNoCancel: buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    box.setStandardButtons(buttons);
    auto standard = [](MessageAnswer a) {
        switch (a) {
        case MessageAnswer::Ok: return QMessageBox::Ok;
        case MessageAnswer::Cancel: return QMessageBox::Cancel;
        case MessageAnswer::Yes: return QMessageBox::Yes;
        case MessageAnswer::No: return QMessageBox::No;
        }
        return QMessageBox::Ok;
    };
    if (buttons.testFlag(standard(request.defaultAnswer))) box.setDefaultButton(standard(request.defaultAnswer));
    // Escape gives Cancel where there is one, else No for Yes/No, else Ok.
    if (buttons.testFlag(QMessageBox::Cancel))
        box.setEscapeButton(QMessageBox::Cancel);
    else if (buttons.testFlag(QMessageBox::No))
        box.setEscapeButton(QMessageBox::No);
    else
        box.setEscapeButton(QMessageBox::Ok);

    switch (box.exec()) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
}

}  // namespace tiderune
