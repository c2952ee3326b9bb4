#pragma once
// The axis range dialogs of the time-series windows: frmYAxis for a left or right value axis,
// frmXAxis for the bottom time axis (whose range goes to every chart of the window), both
// modal. What they show comes from the clicked chart when they open; on OK they look the
// window up again through the lookup they were given, because the window may have been
// closed or made anew (a reset) while the dialog was open, and write to the chart it has
// then. A window that is gone is written nothing.
#include <QDialog>
#include <QLineEdit>
#include <QRect>
#include <functional>
#include <string>

#include "frame/window_kinds.h"
#include "charts/logic/axis_dialogs.h"
#include "timeseries/time_series_form.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace tiderune {

class ChildWindow;
class Shell;

// The window whose chart a dialog edits, as its slot holds it now; null when it holds none.
using AxisFormLookup = std::function<TimeSeriesForm*()>;

struct AxisDialogRequest {
    AxisFormLookup form;
    int chartIndex = 0;  // the clicked chart
    int chartCount = 0;  // the charts of the window
    std::string axis;    // "left", "right" or "bottom"
    // Where the window's inside and the clicked chart are on the screen, for the placement.
    QRect windowRect;
    QRect chartRect;
};

// The request an axis click on a window fills: the window's form, the click's hand-over, and
// where the window and the chart sit (global pixels).
AxisDialogRequest axisDialogRequest(AxisFormLookup form, const AxisDialogTarget& target, QRect windowRect,
                                    QRect chartRect);

// Opens frmYAxis or frmXAxis for an axis click's action, modal (device events wait), and
// returns when it has closed. Other actions open nothing.
void showAxisDialog(Shell& shell, AxisClickAction action, const AxisDialogRequest& request, QWidget* parent);

// The form of the time-series window in a slot, as the slot holds it when asked; null while
// the slot's window is not loaded.
AxisFormLookup slotFormLookup(Shell& shell, WindowKind kind, int system);

// What a time-series window does with an axis click its form accepted: opens the dialog for
// the chart the click's hand-over names, placed under that chart. The dialog belongs to the
// main window, so it never outlives the window it was opened from by being its child.
void openAxisDialog(Shell& shell, ChildWindow& window, AxisClickAction action, const AxisDialogTarget& target,
                    QWidget* chart);

// Moves a dialog to a place, kept whole on the screen.
void placeOnScreen(QWidget& dialog, QPoint topLeft);

// A text box that selects its whole text when it gets the focus, so typing replaces it.
class SelectAllLineEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* e) override;
};

class YAxisDialog : public QDialog {
    Q_OBJECT
public:
    // The clicked chart must be there when the dialog opens.
    YAxisDialog(Shell& shell, AxisDialogRequest request, QWidget* parent = nullptr);

    QCheckBox* chkAutomatic = nullptr;
    QGroupBox *frameMax = nullptr, *frameMin = nullptr;
    QCheckBox *chkAutMax = nullptr, *chkAutMin = nullptr;
    SelectAllLineEdit *txtMax = nullptr, *txtMin = nullptr;
    QPushButton *cmdOk = nullptr, *cmdCancel = nullptr;

    void cmdOkClick();

private:
    Shell& shell_;
    AxisDialogRequest request_;
};

class XAxisDialog : public QDialog {
    Q_OBJECT
public:
    XAxisDialog(Shell& shell, AxisDialogRequest request, QWidget* parent = nullptr);

    QCheckBox* chkAutomatic = nullptr;
    QGroupBox *frameMax = nullptr, *frameMin = nullptr;
    QCheckBox *chkAutMax = nullptr, *chkAutMin = nullptr;
    // Their captions are the dialog's only store of the two times ("dd.mm.yyyy hh:nn:ss").
    QPushButton *cmdEnd = nullptr, *cmdStart = nullptr;
    QPushButton *cmdOk = nullptr, *cmdCancel = nullptr;
    // Which time the picker edits: "Start" or "End".
    std::string TimeBound;

    void cmdOkClick();
    void cmdStartClick();
    void cmdEndClick();

private:
    void pickTime();

    Shell& shell_;
    AxisDialogRequest request_;
};

}  // namespace tiderune
