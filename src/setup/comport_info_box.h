#pragma once
// The com-port information box (frmComportInfo): tells that only COM 1-16 are used.
#include <QDialog>

namespace tiderune {

class ComportInfoBox : public QDialog {
    Q_OBJECT
public:
    explicit ComportInfoBox(QWidget* parent = nullptr);
};

}  // namespace tiderune
