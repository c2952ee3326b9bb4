#pragma once
// "Tiderune Session Information": the free text printed at the head of every session report.
// Lines are kept to 60 characters as the user types or pastes. OK keeps the text as the
// session text, Cancel leaves the session text as it was; either closes the editor.
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace tiderune {

class Shell;

class SessionInfoEditor : public QWidget {
    Q_OBJECT
public:
    SessionInfoEditor(Shell& shell, QWidget* parent = nullptr);

    QPlainTextEdit* textBox() const { return txtText_; }
    QPushButton* okButton() const { return cmdOk_; }
    QPushButton* cancelButton() const { return cmdCancel_; }

    void cmdOkClick();

private:
    void wrapLines();
    void closeFrame();

    Shell& shell_;
    QPlainTextEdit* txtText_;
    QPushButton* cmdOk_;
    QPushButton* cmdCancel_;
    bool wrapping_ = false;
};

}  // namespace tiderune
