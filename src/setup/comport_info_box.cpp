#include "setup/comport_info_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tiderune {

ComportInfoBox::ComportInfoBox(QWidget* parent) : QDialog(parent) {
    setObjectName("frmComportInfo");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle("    Comport Information");
    auto* picture = new QLabel;
    picture->setObjectName("Picture1");
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    auto* text = new QLabel(
        "The serial port support of this program handles the port numbers COM 1 to COM 16 only. "
        "Ports with higher numbers are not probed and are not listed in the setup. COM n is the "
        "device set for it in the settings file (section SerialDevices, key COM<n>).");
    text->setObjectName("Label1");
    text->setWordWrap(true);
    auto* ok = new QPushButton("OK");
    ok->setObjectName("cmdOk");
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto* l = new QVBoxLayout(this);
    l->addLayout(top);
    l->addWidget(ok, 0, Qt::AlignHCenter);
    resize(360, 140);
}

}  // namespace tiderune
