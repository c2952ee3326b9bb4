#include "setup/geo_format_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/config.h"
#include "core/latlon_text.h"
#include "platform/qt/qt_edge.h"
#include "setup/logic/setup_form.h"

namespace tiderune {

GeoFormatDialog::GeoFormatDialog(Config& config, QWidget* parent) : QDialog(parent), config_(config) {
    setObjectName("frmGeoFormat");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle("Geographic Co-ordinates Format Selection");
    optFormat[0] = new QRadioButton(toQt(" DD\xB0 MM.mmmm N"));
    optFormat[1] = new QRadioButton(toQt(" DD\xB0 MM' SS.sss\" N"));
    cmbDecimals = new QComboBox;
    cmbDecimals->setObjectName("cmbDecimals");
    lblExample = new QLabel;
    lblExample->setObjectName("lblExample");
    cmdOk = new QPushButton("OK");
    cmdOk->setObjectName("cmdOk");
    cmdCancel = new QPushButton("Cancel");
    cmdCancel->setObjectName("cmdCancel");
    for (QPushButton* b : {cmdOk, cmdCancel}) b->setAutoDefault(false);
    auto* g = new QGridLayout(this);
    for (int i = 0; i < 2; ++i) {
        optFormat[i]->setObjectName("optFormat");
        optFormat[i]->setProperty("index", i);
        g->addWidget(optFormat[i], i, 0, 1, 2);
        connect(optFormat[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optFormatClick(i);
        });
    }
    g->addWidget(new QLabel("No of decimals : "), 2, 0);
    g->addWidget(cmbDecimals, 2, 1);
    g->addWidget(new QLabel("Example : "), 3, 0);
    g->addWidget(lblExample, 3, 1);
    g->addWidget(cmdOk, 4, 0);
    g->addWidget(cmdCancel, 4, 1);
    connect(cmdOk, &QPushButton::clicked, this, &GeoFormatDialog::cmdOkClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Load: the option first (its click writes a first example), then the decimals.
    optFormat[config_.LatLonFormatDMS ? 1 : 0]->setChecked(true);
    cmbDecimals->blockSignals(true);
    for (int i = 0; i <= 5; ++i) cmbDecimals->addItem(QString::number(i));
    cmbDecimals->setCurrentIndex(-1);
    cmbDecimals->blockSignals(false);
    connect(cmbDecimals, &QComboBox::currentIndexChanged, this, [this] { cmbDecimalsClick(); });
    // A stored count beyond the list shows the nearest one.
    cmbDecimals->setCurrentIndex(std::clamp<int>(config_.LatLonDecimals, 0, 5));
}

void GeoFormatDialog::example(bool dms, int decimals) {
    const double degrees = config_.ReferenceLat[1] * RadiansToDegrees;
    const std::string t = dms ? FormatLatLonDMS(degrees, "LAT", "FORM", decimals) : FormatLatLonDM(degrees, "LAT", "FORM", decimals);
    lblExample->setText(toQt(t));
}

void GeoFormatDialog::optFormatClick(int index) {
    if (index == 0) example(false, 4);
    if (index == 1) example(true, 3);
}

void GeoFormatDialog::cmbDecimalsClick() { example(optFormat[1]->isChecked(), cmbDecimals->currentIndex()); }

void GeoFormatDialog::cmdOkClick() {
    config_.LatLonFormatDMS = optFormat[1]->isChecked();
    config_.LatLonDecimals = static_cast<std::int16_t>(std::max(0, cmbDecimals->currentIndex()));
    accept();
}

}  // namespace tiderune
