#include "app/new_window_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/reset_family.h"
#include "frame/shell.h"
#include "core/number_text.h"
#include "platform/qt/qt_edge.h"

namespace tiderune {

NewWindowDialog::NewWindowDialog(Shell& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
    setObjectName("frmNewWindow");
    setWindowTitle("New Window Setup");
    setModal(false);
    resize(fromTwips(4560), fromTwips(3420));

    cmbSystem_ = new QComboBox(this);
    cmbSystem_->setObjectName("cmbSystem");
    cmbType_ = new QComboBox(this);
    cmbType_->setObjectName("cmbType");
    cmdOk_ = new QPushButton("OK", this);
    cmdOk_->setObjectName("cmdOk");
    cmdCancel_ = new QPushButton("Cancel", this);
    cmdCancel_->setObjectName("cmdCancel");

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Select system", this), 0, 0, 1, 2);
    layout->addWidget(cmbSystem_, 1, 0, 1, 2);
    layout->addWidget(new QLabel("Select type of window", this), 2, 0, 1, 2);
    layout->addWidget(cmbType_, 3, 0, 1, 2);
    layout->addWidget(cmdOk_, 4, 0);
    layout->addWidget(cmdCancel_, 4, 1);

    const Config& c = shell_.config;
    cmbSystem_->addItem(QString("Primary System") + "          - " + toQt(c.Systems[1].Name), 1);
    for (int s = 2; s <= MaxSystems; ++s) {
        if (!c.Systems[s].InUse) continue;
        cmbSystem_->addItem(QString("Secondary System") + QString::fromStdString(StrNumber(s - 1)) + " - " +
                                toQt(c.Systems[s].Name),
                            s);
    }
    cmbSystem_->setCurrentIndex(0);
    cmbType_->addItems({"Numerics", "Statistics", "Time Serie Plot", "ScatterPlot", "SkyPlot", "ARPA Targets",
                        "NMEA Monitor"});
    cmbType_->setCurrentIndex(0);

    connect(cmdOk_, &QPushButton::clicked, this, &NewWindowDialog::cmdOkClick);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::close);
}

void NewWindowDialog::cmdOkClick() {
    const int system = cmbSystem_->currentData().toInt();
    if (!isValidSystem(system)) return;
    const SystemSetup& s = shell_.config.Systems[system];
    switch (cmbType_->currentIndex()) {
    case 0:
        ShowNumericsWindow(shell_, system);
        break;
    case 1:
        ShowStatisticsWindow(shell_, system);
        if (s.GSVAnalysed) ShowStatisticsSNRWindow(shell_, system);
        break;
    case 2:
        ShowTimeSeriesWindows(shell_, system);
        break;
    case 3:
        if (!s.GGAAnalysed && !s.GNSAnalysed && !s.GLLAnalysed && !s.RMCAnalysed) {
            shell_.ask("Scatterplot not relevant when neither GGA, GNS, GLL nor RMC message is enabled");
            return;
        }
        ShowScatterWindow(shell_, system);
        break;
    case 4:
        if (!s.GSAAnalysed && !s.GSVAnalysed) {
            shell_.ask("Skyplot not relevant when neither GSA nor GSV message is enabled");
            return;
        }
        ShowSkyplotWindow(shell_, system);
        break;
    case 5:
        ShowARPATargetsWindow(shell_, system);
        break;
    case 6:
        ShowNMEAWindow(shell_, system);
        break;
    default:
        return;
    }
    close();
}

}  // namespace tiderune
