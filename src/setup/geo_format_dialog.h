#pragma once
// The latitude/longitude display format dialog (frmGeoFormat): degrees and decimal minutes
// or degrees, minutes and seconds, with 0-5 decimals of the last unit, for every position
// the program shows or reads afterwards.
#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tiderune {

struct Config;

class GeoFormatDialog : public QDialog {
    Q_OBJECT
public:
    GeoFormatDialog(Config& config, QWidget* parent = nullptr);

    std::array<QRadioButton*, 2> optFormat{};
    QComboBox* cmbDecimals = nullptr;
    QLabel* lblExample = nullptr;
    QPushButton *cmdOk = nullptr, *cmdCancel = nullptr;

    void cmdOkClick();

private:
    void optFormatClick(int index);
    void cmbDecimalsClick();
    void example(bool dms, int decimals);

    Config& config_;
};

}  // namespace tiderune
