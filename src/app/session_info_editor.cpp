#include "app/session_info_editor.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <algorithm>

#include "app/logic/session_text.h"
#include "frame/shell.h"

namespace tiderune {

SessionInfoEditor::SessionInfoEditor(Shell& shell, QWidget* parent) : QWidget(parent), shell_(shell) {
    setObjectName("frmDocument");
    setWindowTitle("Tiderune Session Information");
    txtText_ = new QPlainTextEdit(this);
    txtText_->setObjectName("txtText");
    // A fixed-pitch font a little over 60 characters wide shows each line as it will be printed.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    txtText_->setFont(fixed);
    txtText_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtText_->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(64, 'M')));
    cmdOk_ = new QPushButton("OK", this);
    cmdOk_->setObjectName("cmdOk");
    cmdCancel_ = new QPushButton("Cancel", this);
    cmdCancel_->setObjectName("cmdCancel");

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Write free text information. Text will be printed in report.", this), 0, 0, 1, 3);
    layout->addWidget(new QLabel("Max 60 characters / line", this), 1, 0, 1, 3);
    layout->addWidget(txtText_, 2, 0, 1, 3);
    layout->addWidget(cmdOk_, 3, 1);
    layout->addWidget(cmdCancel_, 3, 2);
    layout->setColumnStretch(0, 1);

    connect(txtText_, &QPlainTextEdit::textChanged, this, &SessionInfoEditor::wrapLines);
    connect(cmdOk_, &QPushButton::clicked, this, &SessionInfoEditor::cmdOkClick);
    connect(cmdCancel_, &QPushButton::clicked, this, &SessionInfoEditor::closeFrame);

    // The stored text has CR LF breaks; a stored line longer than 60 is wrapped on opening.
    txtText_->setPlainText(toQt(shell_.config.SessionInfo).replace("\r\n", "\n").replace('\r', '\n'));
}

void SessionInfoEditor::wrapLines() {
    if (wrapping_) return;
    // One byte per character of the box, so the positions found are the box's positions.
    const QString text = txtText_->toPlainText();
    const std::vector<std::size_t> breaks = sessionTextBreaks(fromQt(text));
    if (breaks.empty()) return;
    wrapping_ = true;
    const int caret = txtText_->textCursor().position();
    QTextCursor edit(txtText_->document());
    edit.beginEditBlock();
    for (auto it = breaks.rbegin(); it != breaks.rend(); ++it) {
        edit.setPosition(static_cast<int>(*it));
        edit.insertText("\n");
    }
    edit.endEditBlock();
    // The caret stays after what was typed: one place further for every break before it, so
    // that typing the 61st character of a line leaves it after that character on the new line.
    const auto before = std::count_if(breaks.begin(), breaks.end(),
                                      [caret](std::size_t b) { return b < static_cast<std::size_t>(caret); });
    QTextCursor c = txtText_->textCursor();
    c.setPosition(caret + static_cast<int>(before));
    txtText_->setTextCursor(c);
    wrapping_ = false;
}

void SessionInfoEditor::cmdOkClick() {
    shell_.config.SessionInfo = fromQt(txtText_->toPlainText().replace("\n", "\r\n"));
    closeFrame();
}

void SessionInfoEditor::closeFrame() {
    QWidget* frame = parentWidget() ? parentWidget() : this;
    frame->close();
}

}  // namespace tiderune
