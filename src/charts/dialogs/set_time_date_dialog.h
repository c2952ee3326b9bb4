#pragma once
// The date and time picker (frmSetTimeDate) of the time dialog: six lists that build the
// start or the end time, which OK writes into the caption of the time dialog's start or end
// button, as its TimeBound says. The lists' rules are in charts/logic/time_date_picker.h.
#include <QDialog>

#include "charts/logic/time_date_picker.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace tiderune {

class XAxisDialog;

class SetTimeDateDialog : public QDialog {
    Q_OBJECT
public:
    explicit SetTimeDateDialog(XAxisDialog& axisDialog);

    QListWidget *lstYear = nullptr, *lstMonth = nullptr, *lstDay = nullptr;
    QListWidget *lstHour = nullptr, *lstMin = nullptr, *lstSec = nullptr;
    QLabel *lblDate = nullptr, *lblTime = nullptr;
    QPushButton *cmdOk = nullptr, *cmdCancel = nullptr;

    const TimeDatePicker& picker() const { return picker_; }
    void cmdOkClick();

private:
    void mirror(QListWidget* w, const ListBox& list);
    void showAll();

    XAxisDialog& axisDialog_;
    TimeDatePicker picker_;
};

}  // namespace tiderune
