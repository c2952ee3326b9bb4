#pragma once
// "New Window Setup": the user picks a system in use and a kind of window to open.
#include <QDialog>

class QComboBox;
class QPushButton;

namespace tiderune {

class Shell;

class NewWindowDialog : public QDialog {
    Q_OBJECT
public:
    NewWindowDialog(Shell& shell, QWidget* parent);

    QComboBox* systemList() const { return cmbSystem_; }
    QComboBox* typeList() const { return cmbType_; }
    QPushButton* okButton() const { return cmdOk_; }
    QPushButton* cancelButton() const { return cmdCancel_; }

    void cmdOkClick();

private:
    Shell& shell_;
    QComboBox* cmbSystem_;
    QComboBox* cmbType_;
    QPushButton* cmdOk_;
    QPushButton* cmdCancel_;
};

}  // namespace tiderune
