#pragma once
// The setup dialog of one system (frmSetup): source and port, sentences to analyse and their
// rules, checksum test, buffer emptying, reference position and the reference positions
// file, rejection limits. Modeless; OK applies it to the running session.
#include <QDialog>
#include <QMap>
#include <QPointer>
#include <array>
#include <optional>

#include "setup/logic/input_checks.h"
#include "setup/logic/sentence_rules.h"
#include "setup/logic/setup_apply.h"
#include "setup/logic/setup_form.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tiderune {

class Shell;
class ComportInfoBox;

class SetupDialog : public QDialog {
    Q_OBJECT
public:
    SetupDialog(Shell& shell, SetupSession& session, int system, QWidget* parent = nullptr);
    ~SetupDialog() override;

    int system() const { return system_; }
    bool refChanged() const { return refChanged_; }

    // The controls, by the names the program gives them.
    QTabWidget* SSTab1 = nullptr;
    QLineEdit* txtName = nullptr;
    std::array<QRadioButton*, 8> optType{};
    QComboBox* cmbTimeZone = nullptr;
    std::array<QCheckBox*, SentenceBoxCount> chkSentence{};
    std::array<QRadioButton*, 3> optReference{};
    QLineEdit *txtRefName = nullptr, *txtLat = nullptr, *txtLon = nullptr, *txtHgt = nullptr;
    QLineEdit *txtHdg = nullptr, *txtPitch = nullptr, *txtRoll = nullptr;
    QComboBox* cmbRefPositions = nullptr;
    QPushButton *cmdCopyPrimary = nullptr, *cmdCopyAvg = nullptr;
    QCheckBox *chkSvs = nullptr, *chkHdop = nullptr, *chkOutliers = nullptr, *chkNoDiff = nullptr;
    QComboBox *cmbSvs = nullptr, *cmbHdop = nullptr, *cmbOutliers = nullptr;
    QCheckBox *chkTestCheckSum = nullptr, *chkEmptyBuffer = nullptr;
    std::array<QRadioButton*, 3> optCom{};
    QGroupBox *frameCOM = nullptr, *frameTCPIP = nullptr, *frameUDP = nullptr, *frameLogfile = nullptr;
    QComboBox *cmbComPort = nullptr, *cmbBaudRate = nullptr, *cmbDataBits = nullptr, *cmbStopBits = nullptr,
              *cmbParity = nullptr;
    QPushButton* cmdComInfo = nullptr;
    QComboBox* cmbIP = nullptr;
    QLineEdit *txtPort = nullptr, *txtUDP_port = nullptr;
    QPushButton* cmdSelectFile = nullptr;
    QLabel* lblFileName = nullptr;
    QCheckBox* chkEnabled = nullptr;
    QLabel* lblName = nullptr;
    QPushButton *cmdOk = nullptr, *cmdCancel = nullptr;

    QCheckBox* box(SentenceBox b) const { return chkSentence[static_cast<std::size_t>(b)]; }

    void cmdOkClick();
    void cmdCancelClick() { reject(); }
    void cmdCopyAvgClick();
    void cmdCopyPrimaryClick();
    void cmdSelectFileClick();
    void cmdComInfoClick();

    // What the dialog shows, as OK reads it.
    SetupValues values() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    enum class Field { None, IP, Port, UDPPort, Lat, Lon, Hgt, Hdg, Pitch, Roll, RefName, Hdop, Svs, Outliers };

    void build();
    void FormLoad();
    void probePorts();
    void fillPortList();
    void watch(QWidget* w, Field f, bool selectAllOnFocus);

    void sentenceClicked(SentenceBox b, bool on);
    void limitClicked(QCheckBox* box, QComboBox* list);
    void optComClick(int index);
    void optReferenceClick(int index);
    void cmbRefPositionsClick(int index);

    // The focus-out handler of a field: false when it refused the value (the focus is back).
    bool leave(Field f);
    bool refuse(QWidget* w, const std::string& message);
    void focusField(QWidget* w);
    void setLatLon(LatLonAxis axis, double radians, bool loadForm);
    void setHeight(float metres);
    void tell(const std::string& text, MessageIcon icon = MessageIcon::None);

    Shell& shell_;
    SetupSession& session_;
    const int system_;
    bool refChanged_ = false;
    // The replay file as the file system names it; lblFileName shows it.
    std::string offlineFile_;
    LatLonBox lat_, lon_;
    std::optional<std::pair<std::string, float>> height_;  // the text written for an exact height
    Field pending_ = Field::None;  // a field left, its check not run yet
    bool checking_ = false;        // a check's box is open or the focus is being put back
    QMap<QObject*, Field> fields_;
    QPointer<ComportInfoBox> comInfo_;
};

}  // namespace tiderune
