#include "setup/setup_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "frame/shell.h"
#include "platform/qt/qt_edge.h"
#include "core/number_text.h"
#include "platform/serial_port.h"
#include "setup/comport_info_box.h"
#include "setup/logic/port_probe.h"
#include "setup/logic/reference_file.h"

namespace tiderune {

namespace {

const char* const ReferenceCaptions[3] = {"Position/heading vs. first sample", "Position/heading vs. average over time",
                                          "Position/heading vs. true"};
const char* const SourceCaptions[3] = {"Comport", "TCP/IP", "UDP"};

QString q(const char* s) { return toQt(s); }

template <typename T>
T* named(T* w, const char* name, int index = -1) {
    w->setObjectName(name);
    if (index >= 0) w->setProperty("index", index);
    return w;
}

QPushButton* button(const char* name, const char* caption) {
    auto* b = named(new QPushButton(q(caption)), name);
    // Enter in a box must never press OK: OK resets every statistic.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QComboBox* list(const char* name, bool editable) {
    auto* c = named(new QComboBox, name);
    c->setEditable(editable);
    if (editable) c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}

void fill(QComboBox* c, const std::vector<std::string>& items) {
    for (const std::string& i : items) c->addItem(toQt(i));
}

// Parser messages about a latitude or longitude text, shown as boxes.
class BoxNotices final : public NoticeSink {
public:
    explicit BoxNotices(SetupSession& s) : s_(s) {}
    void notice(const Notice& n) override {
        s_.ask({n.text, n.title, MessageButtons::Ok, static_cast<MessageIcon>(n.icon), MessageAnswer::Ok});
    }

private:
    SetupSession& s_;
};

}  // namespace

SetupDialog::SetupDialog(Shell& shell, SetupSession& session, int system, QWidget* parent)
    : QDialog(parent), shell_(shell), session_(session), system_(isValidSystem(system) ? system : 1) {
    setObjectName("frmSetup");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    build();
    FormLoad();
}

SetupDialog::~SetupDialog() {
    if (comInfo_) comInfo_->close();
}

// ---------------------------------------------------------------- controls

void SetupDialog::build() {
    auto* outer = new QVBoxLayout(this);
    SSTab1 = named(new QTabWidget, "SSTab1");
    SSTab1->setUsesScrollButtons(false);
    outer->addWidget(SSTab1);

    // General
    auto* general = new QWidget;
    auto* g = new QGridLayout(general);
    g->addWidget(new QLabel(q("Name : ")), 0, 0);
    txtName = named(new QLineEdit, "txtName");
    g->addWidget(txtName, 0, 1, 1, 2);
    auto* frameType = named(new QGroupBox(q("Type of source")), "frameType");
    auto* ft = new QGridLayout(frameType);
    for (int i = 0; i < 8; ++i) {
        optType[i] = named(new QRadioButton(q(sourceKinds()[i].caption)), "optType", i);
        ft->addWidget(optType[i], i % 4, i / 4);
    }
    g->addWidget(frameType, 1, 0, 1, 3);
    g->addWidget(new QLabel(q("Time Zone")), 2, 0);
    cmbTimeZone = list("cmbTimeZone", false);
    g->addWidget(cmbTimeZone, 2, 1);
    g->addWidget(new QLabel(q("(to be implemented)")), 2, 2);
    g->setRowStretch(3, 1);
    SSTab1->addTab(general, q("General"));

    // NMEA Messages
    auto* messages = new QWidget;
    auto* m = new QGridLayout(messages);
    struct Frame {
        const char* caption;
        SentenceBox first, last;
        int row, column, rows;
    };
    const Frame frames[] = {{"Positioning systems", SentenceBox::GGA, SentenceBox::GLC, 0, 0, 3},
                            {"Gyro and Speed Log systems", SentenceBox::HDT, SentenceBox::HDG, 0, 1, 1},
                            {"Echosounder", SentenceBox::DBT, SentenceBox::DBS, 1, 1, 1},
                            {"ARPA Radar ", SentenceBox::TTM, SentenceBox::TTM, 2, 1, 1},
                            {"AIS (Automatic Identification System)", SentenceBox::VDM, SentenceBox::VDM, 3, 0, 1}};
    for (const Frame& f : frames) {
        auto* frame = new QGroupBox(q(f.caption));
        auto* fl = new QVBoxLayout(frame);
        fl->setSpacing(0);
        for (int b = static_cast<int>(f.first); b <= static_cast<int>(f.last); ++b) {
            const SentenceBoxInfo& info = sentenceBoxes()[b];
            auto* c = named(new QCheckBox(q(info.caption)), info.control);
            chkSentence[b] = c;
            fl->addWidget(c);
            connect(c, &QCheckBox::toggled, this, [this, box = info.box](bool on) { sentenceClicked(box, on); });
        }
        m->addWidget(frame, f.row, f.column, f.rows, f.column == 0 && f.row == 3 ? 2 : 1);
    }
    SSTab1->addTab(messages, q("NMEA Messages"));

    // Reference pos/hdg
    auto* reference = new QWidget;
    auto* r = new QVBoxLayout(reference);
    auto* refType = new QGroupBox(q("Type of reference"));
    auto* rt = new QVBoxLayout(refType);
    for (int i = 0; i < 3; ++i) {
        optReference[i] = named(new QRadioButton(q(ReferenceCaptions[i])), "optReference", i);
        rt->addWidget(optReference[i]);
        connect(optReference[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optReferenceClick(i);
        });
    }
    r->addWidget(refType);
    auto* truePos = new QGroupBox(q("True Position"));
    auto* tp = new QGridLayout(truePos);
    txtRefName = named(new QLineEdit, "txtRefName");
    cmbRefPositions = list("cmbRefPositions", false);
    cmbRefPositions->setPlaceholderText(q("Select from list"));
    txtLat = named(new QLineEdit, "txtLat");
    txtLon = named(new QLineEdit, "txtLon");
    txtHgt = named(new QLineEdit, "txtHgt");
    cmdCopyPrimary = button("cmdCopyPrimary", "Copy Primary System Ref");
    cmdCopyAvg = button("cmdCopyAvg", "Copy current Average");
    tp->addWidget(new QLabel(q("Name")), 0, 0);
    tp->addWidget(txtRefName, 0, 1);
    tp->addWidget(cmbRefPositions, 0, 2);
    tp->addWidget(new QLabel(q("Lat")), 1, 0);
    tp->addWidget(txtLat, 1, 1);
    tp->addWidget(cmdCopyPrimary, 1, 2);
    tp->addWidget(new QLabel(q("Lon")), 2, 0);
    tp->addWidget(txtLon, 2, 1);
    tp->addWidget(cmdCopyAvg, 2, 2);
    tp->addWidget(new QLabel(q("Hgt AMSL")), 3, 0);
    tp->addWidget(txtHgt, 3, 1);
    r->addWidget(truePos);
    auto* trueHdg = new QGroupBox(q("True heading, pitch, roll "));
    auto* th = new QHBoxLayout(trueHdg);
    txtHdg = named(new QLineEdit, "txtHdg");
    txtPitch = named(new QLineEdit, "txtPitch");
    txtRoll = named(new QLineEdit, "txtRoll");
    for (auto [label, edit] : {std::pair{"Hdg", txtHdg}, {"Pitch", txtPitch}, {"Roll", txtRoll}}) {
        th->addWidget(new QLabel(q(label)));
        th->addWidget(edit);
    }
    r->addWidget(trueHdg);
    r->addStretch();
    SSTab1->addTab(reference, q("Reference pos/hdg"));
    connect(cmbRefPositions, &QComboBox::activated, this, &SetupDialog::cmbRefPositionsClick);
    connect(cmdCopyPrimary, &QPushButton::clicked, this, &SetupDialog::cmdCopyPrimaryClick);
    connect(cmdCopyAvg, &QPushButton::clicked, this, &SetupDialog::cmdCopyAvgClick);

    // Rejection criterias
    auto* rejection = new QWidget;
    auto* rj = new QGridLayout(rejection);
    chkSvs = named(new QCheckBox(q("No of satellites limit")), "chkSvs");
    chkHdop = named(new QCheckBox(q("Hdop limit")), "chkHdop");
    chkOutliers = named(new QCheckBox(q("Reject ouliers")), "chkOutliers");
    chkNoDiff = named(new QCheckBox(q("None differenteill GPS")), "chkNoDiff");
    cmbSvs = list("cmbSvs", true);
    cmbHdop = list("cmbHdop", true);
    cmbOutliers = list("cmbOutliers", true);
    int row = 0;
    for (auto [c, l] : {std::pair{chkSvs, cmbSvs}, {chkHdop, cmbHdop}, {chkOutliers, cmbOutliers}}) {
        rj->addWidget(c, row, 0);
        rj->addWidget(l, row++, 1);
        l->setEnabled(false);
        connect(c, &QCheckBox::toggled, this, [this, c = c, l = l] { limitClicked(c, l); });
    }
    rj->addWidget(chkNoDiff, row++, 0);
    rj->addWidget(new QLabel(q("Position in meters, hdg/roll/pitch in deg")), row++, 0, 1, 2);
    rj->setRowStretch(row, 1);
    SSTab1->addTab(rejection, q("&Rejection criterias"));

    // Antenna offset
    auto* antenna = new QWidget;
    (new QVBoxLayout(antenna))->addWidget(new QLabel(q("To be implemented")), 0, Qt::AlignCenter);
    SSTab1->addTab(antenna, q("Antenna offset"));

    // Com Port / Input file
    auto* port = new QWidget;
    auto* p = new QGridLayout(port);
    chkTestCheckSum = named(new QCheckBox(q("NMEA Checksum test ")), "chkTestCheckSum");
    chkEmptyBuffer = named(new QCheckBox(q("Empty Buffer Continously")), "chkEmptyBuffer");
    p->addWidget(chkTestCheckSum, 0, 0);
    p->addWidget(chkEmptyBuffer, 1, 0);
    for (int i = 0; i < 3; ++i) {
        optCom[i] = named(new QRadioButton(q(SourceCaptions[i])), "optCom", i);
        p->addWidget(optCom[i], i, 1);
        connect(optCom[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optComClick(i);
        });
    }
    frameCOM = named(new QGroupBox(q("SELECT COMPORT")), "frameCOM");
    auto* fc = new QGridLayout(frameCOM);
    cmbComPort = list("cmbComPort", false);
    cmbBaudRate = list("cmbBaudRate", false);
    cmbDataBits = list("cmbDataBits", false);
    cmbStopBits = list("cmbStopBits", false);
    cmbParity = list("cmbParity", false);
    cmdComInfo = button("cmdComInfo", "?");
    cmdComInfo->setToolTip(q("Comport Information"));
    cmdComInfo->setFixedWidth(cmdComInfo->sizeHint().height() + 4);
    int fr = 0;
    for (auto [label, c] : {std::pair{"Comport", cmbComPort}, {"Baud rate", cmbBaudRate}, {"Data bits", cmbDataBits},
                            {"Stop bits", cmbStopBits}, {"Parity", cmbParity}}) {
        fc->addWidget(new QLabel(q(label)), fr, 0);
        fc->addWidget(c, fr++, 1);
    }
    fc->addWidget(cmdComInfo, 0, 2);
    frameTCPIP = named(new QGroupBox(q("Select IP address and port")), "frameTCPIP");
    auto* ftcp = new QGridLayout(frameTCPIP);
    cmbIP = list("cmbIP", true);
    txtPort = named(new QLineEdit, "txtPort");
    ftcp->addWidget(new QLabel(q("IP address")), 0, 0);
    ftcp->addWidget(cmbIP, 0, 1);
    ftcp->addWidget(new QLabel(q("Port")), 1, 0);
    ftcp->addWidget(txtPort, 1, 1);
    ftcp->addWidget(new QLabel(q("The latest 10 IP-addresses will be saved in list.")), 2, 0, 1, 2);
    ftcp->setRowStretch(3, 1);
    frameUDP = named(new QGroupBox(q("Select UDP port")), "frameUDP");
    auto* fudp = new QGridLayout(frameUDP);
    txtUDP_port = named(new QLineEdit, "txtUDP_port");
    fudp->addWidget(new QLabel(q("Port")), 0, 0);
    fudp->addWidget(txtUDP_port, 0, 1);
    fudp->setRowStretch(1, 1);
    frameLogfile = named(new QGroupBox(q("SELECT INPUT FILE")), "frameLogfile");
    auto* fl = new QVBoxLayout(frameLogfile);
    cmdSelectFile = button("cmdSelectFile", "SELECT FILE");
    lblFileName = named(new QLabel(q("not selected")), "lblFileName");
    lblFileName->setWordWrap(true);
    fl->addWidget(new QLabel(q("Select Input file containg raw NMEA data")));
    fl->addWidget(cmdSelectFile, 0, Qt::AlignLeft);
    fl->addWidget(lblFileName);
    fl->addStretch();
    // The four frames share one place on the page; one of them shows.
    for (QGroupBox* f : {frameCOM, frameTCPIP, frameUDP, frameLogfile}) p->addWidget(f, 3, 0, 1, 2);
    frameTCPIP->hide();
    frameUDP->hide();
    frameLogfile->hide();
    p->setRowStretch(4, 1);
    SSTab1->addTab(port, q("Com Port"));
    connect(cmdComInfo, &QPushButton::clicked, this, &SetupDialog::cmdComInfoClick);
    connect(cmdSelectFile, &QPushButton::clicked, this, &SetupDialog::cmdSelectFileClick);

    // Below the pages
    auto* bottom = new QHBoxLayout;
    chkEnabled = named(new QCheckBox(q("System enabled")), "chkEnabled");
    lblName = named(new QLabel, "lblName");
    cmdOk = button("cmdOk", "OK");
    cmdCancel = button("cmdCancel", "Cancel");
    bottom->addWidget(chkEnabled);
    bottom->addWidget(lblName, 1);
    bottom->addWidget(cmdOk);
    bottom->addWidget(cmdCancel);
    outer->addLayout(bottom);
    connect(chkEnabled, &QCheckBox::toggled, this, [this](bool on) { SSTab1->setEnabled(on); });
    connect(txtName, &QLineEdit::textChanged, this, [this](const QString& t) { lblName->setText(t); });
    connect(cmdOk, &QPushButton::clicked, this, &SetupDialog::cmdOkClick);
    connect(cmdCancel, &QPushButton::clicked, this, &SetupDialog::cmdCancelClick);

    // The boxes that are checked when the focus leaves them and selected when it comes.
    watch(txtName, Field::None, true);
    watch(cmbIP, Field::IP, false);
    watch(txtPort, Field::Port, true);
    watch(txtUDP_port, Field::UDPPort, true);
    watch(txtLat, Field::Lat, true);
    watch(txtLon, Field::Lon, true);
    watch(txtHgt, Field::Hgt, true);
    watch(txtHdg, Field::Hdg, true);
    watch(txtPitch, Field::Pitch, true);
    watch(txtRoll, Field::Roll, true);
    watch(txtRefName, Field::RefName, true);
    watch(cmbHdop, Field::Hdop, false);
    watch(cmbSvs, Field::Svs, false);
    watch(cmbOutliers, Field::Outliers, false);
}

void SetupDialog::watch(QWidget* w, Field f, bool selectAllOnFocus) {
    w->installEventFilter(this);
    fields_[w] = f;
    w->setProperty("selectAllOnFocus", selectAllOnFocus);
    if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit()) {
        c->lineEdit()->installEventFilter(this);
        fields_[c->lineEdit()] = f;
    }
}

// ---------------------------------------------------------------- load

void SetupDialog::FormLoad() {
    Config& c = shell_.config;
    const int s = system_;
    const SystemSetup& sys = c.Systems[s];
    resize(fromTwips(7230), fromTwips(6990));
    setProperty("Tag", QString::number(s));
    setWindowTitle(toQt(setupCaption(s)));
    txtName->setText(toQt(setupNameText(c, s)));
    cmdCopyPrimary->setVisible(s != 1);
    lblName->setText(txtName->text());
    offlineFile_ = sys.OfflineFile;
    lblFileName->setText(toQt(fileNameText(offlineFile_)));
    chkEnabled->setChecked(sys.InUse);
    SSTab1->setEnabled(sys.InUse);
    const std::optional<int> kind = kindOption(sys.Kind);
    if (kind) optType[*kind]->setChecked(true);
    if (c.ChecksumTest[s]) chkTestCheckSum->setChecked(true);
    if (c.EmptyBuffer[s]) chkEmptyBuffer->setChecked(true);
    SSTab1->setCurrentIndex(0);
    const int mode = c.ReferenceMode[s];
    if (mode >= 0 && mode <= 2) optReference[mode]->setChecked(true);
    optReferenceClick(mode >= 0 && mode <= 2 ? mode : 0);
    txtRefName->setText(toQt(c.ReferenceName[s]));
    setLatLon(LatLonAxis::Lat, c.ReferenceLat[s], true);
    setLatLon(LatLonAxis::Lon, c.ReferenceLon[s], true);
    setHeight(c.ReferenceHeight[s]);
    txtHdg->setText(toQt(headingText(c.ReferenceHeading[s])));
    txtPitch->setText(toQt(attitudeText(c.ReferencePitch[s])));
    txtRoll->setText(toQt(attitudeText(c.ReferenceRoll[s])));
    {
        // Filling would pick the first name by itself: the list shows no choice at load.
        const QSignalBlocker quiet(cmbRefPositions);
        std::string unreadable;
        for (const ReferenceRecord& r : readReferenceRecords(session_.appFolder() + ReferenceFileName, &unreadable))
            cmbRefPositions->addItem(toQt(r.name));
        cmbRefPositions->setCurrentIndex(-1);
        if (!unreadable.empty()) tell(unreadable, MessageIcon::Critical);
    }
    fill(cmbTimeZone, timeZoneItems());
    cmbTimeZone->setCurrentIndex(TimeZoneDefaultItem);
    for (int slot = 1; slot <= SavedMessageSlots; ++slot) {
        const std::string& name = c.MessagesToAnalyse[s][slot];
        if (name.empty()) break;
        if (auto b = boxOfStoredName(name)) box(*b)->setChecked(true);
    }
    fill(cmbOutliers, outlierItems());
    fill(cmbSvs, satelliteItems());
    const std::string point = fromQt(QLocale().decimalPoint());
    fill(cmbHdop, hdopItems(point.empty() ? '.' : point.front()));
    if (c.OutlierLimit != 0) chkOutliers->setChecked(true);
    cmbOutliers->setEditText(toQt(outlierLimitText(c.OutlierLimit)));
    if (c.HdopLimit != 0) chkHdop->setChecked(true);
    cmbHdop->setEditText(toQt(hdopLimitText(c.HdopLimit)));
    if (c.MinSatellites != 0) chkSvs->setChecked(true);
    cmbSvs->setEditText(toQt(satelliteLimitText(c.MinSatellites)));
    if (c.NoDifferentialGPS) chkNoDiff->setChecked(true);

    if (c.Mode != "ONLINE") {
        SSTab1->setTabText(5, q("Input file"));
        frameLogfile->show();
        frameCOM->hide();
        for (QRadioButton* o : optCom) o->hide();
        chkEmptyBuffer->setEnabled(false);
    } else {
        probePorts();
        frameCOM->setEnabled(true);
        fillPortList();
        const bool hasPort = PerComPort<int>::inRange(sys.ComPort);
        const ComportSetting* port = hasPort ? &c.Comports[sys.ComPort] : nullptr;
        fill(cmbBaudRate, baudRateItems());
        cmbBaudRate->setCurrentIndex(port ? baudItemFor(port->Baud) : 2);
        cmbDataBits->addItems({"8", "7"});
        cmbDataBits->setCurrentIndex(port && port->DataBits != 8 ? 1 : 0);
        cmbStopBits->addItems({"1", "2"});
        cmbStopBits->setCurrentIndex(port && port->StopBits != 1 ? 1 : 0);
        cmbParity->addItems({"none", "odd", "even"});
        cmbParity->setCurrentIndex(port ? cmbParity->findText(toQt(port->Parity)) : 0);
        optCom[sys.UseTCP ? 1 : sys.UseUDP ? 2 : 0]->setChecked(true);
        optComClick(sys.UseTCP ? 1 : sys.UseUDP ? 2 : 0);
        txtPort->setText(sys.TCPPort == 0 ? q("8040") : QString::number(sys.TCPPort));
        for (int i = 0; i < ipHistoryCount(c); ++i) cmbIP->addItem(toQt(c.IPList[i]));
        cmbIP->setEditText(sys.TCPHost.empty() ? q("127.0.0.1") : toQt(sys.TCPHost));
        txtUDP_port->setText(sys.UDPPort == 0 ? q("1000") : QString::number(sys.UDPPort));
    }
    if (!kind) optType[0]->setChecked(true);
    // Every tab caption shows in full, whatever the font.
    resize(std::max(width(), sizeHint().width()), height());
}

void SetupDialog::probePorts() {
    Config& c = shell_.config;
    // The list offers the devices the settings file names now: the user may have added one
    // while the program runs.
    shell_.services.settings.reload();
    SerialDeviceMap paths(shell_.services.settings);
    for (int p = 1; p <= MaxComPorts; ++p) {
        PortFacts facts = inspectSerialDevice(paths.devicePath(p));
        facts.openHere = session_.isSerialOpen(p);
        const ProbeResult r = probePort(facts, p, c.Systems[system_].ComPort);
        c.Comports[p].Probed = r.probed;
        c.Comports[p].ProbeStatus = r.status;
    }
}

void SetupDialog::fillPortList() {
    const Config& c = shell_.config;
    const QSignalBlocker quiet(cmbComPort);
    for (int p = 1; p <= MaxComPorts; ++p) {
        const std::string& status = c.Comports[p].ProbeStatus;
        if (!isListedStatus(status)) continue;
        cmbComPort->addItem(toQt(portListItem(p, status)), p);
    }
    const int own = cmbComPort->findData(static_cast<int>(c.Systems[system_].ComPort));
    cmbComPort->setCurrentIndex(own >= 0 ? own : cmbComPort->count() > 0 ? 0 : -1);
}

// ---------------------------------------------------------------- rules and options

void SetupDialog::sentenceClicked(SentenceBox b, bool on) {
    if (!on) return;
    for (const Conflict& c : conflictsOf(b)) {
        if (!box(c.box)->isChecked()) continue;
        tell(c.message);
        box(c.box)->setChecked(false);
    }
}

void SetupDialog::limitClicked(QCheckBox* box, QComboBox* list) {
    list->setEnabled(box->isChecked());
    if (box->isChecked() && list->isVisible()) list->setFocus(Qt::OtherFocusReason);
}

void SetupDialog::optComClick(int index) {
    frameCOM->setVisible(index == 0);
    frameTCPIP->setVisible(index == 1);
    frameUDP->setVisible(index != 0 && index != 1);
    cmdComInfo->setVisible(index == 0);
}

void SetupDialog::optReferenceClick(int index) {
    const bool on = index == 2;
    for (QWidget* w : std::initializer_list<QWidget*>{txtRefName, txtLat, txtLon, txtHgt, txtHdg, txtPitch, txtRoll,
                                                      cmdCopyPrimary, cmdCopyAvg, cmbRefPositions})
        w->setEnabled(on);
}

void SetupDialog::setLatLon(LatLonAxis axis, double radians, bool loadForm) {
    const Config& c = shell_.config;
    const std::string text = loadForm ? loadLatLonText(c, axis, radians) : boxLatLonText(c, axis, radians);
    (axis == LatLonAxis::Lat ? txtLat : txtLon)->setText(toQt(text));
    (axis == LatLonAxis::Lat ? lat_ : lon_).set(text, radians);
}

void SetupDialog::setHeight(float metres) {
    const std::string text = heightText(metres);
    txtHgt->setText(toQt(text));
    height_ = {text, metres};
}

void SetupDialog::cmbRefPositionsClick(int index) {
    const auto records = readReferenceRecords(session_.appFolder() + ReferenceFileName);
    if (index < 0 || index >= static_cast<int>(records.size())) return;
    const ReferenceRecord& r = records[static_cast<std::size_t>(index)];
    txtRefName->setText(toQt(r.name));
    setLatLon(LatLonAxis::Lat, r.latitude, false);
    setLatLon(LatLonAxis::Lon, r.longitude, false);
    setHeight(r.height);
}

// ---------------------------------------------------------------- buttons

void SetupDialog::cmdCopyAvgClick() {
    const SystemStatistics& st = shell_.coreState.analysis.statistics(system_);
    const ClockTime t = shell_.services.clock.now();
    static const char* const Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::string stamp = QString::asprintf("%02d:%02d:%02d %02d %s %04d", t.hour, t.minute, t.second, t.day,
                                                Months[(t.month + 11) % 12], t.year)
                                  .toStdString();
    txtRefName->setText(toQt("Avg " + stamp));
    setLatLon(LatLonAxis::Lat, st.LatitudeStats.mean, false);
    setLatLon(LatLonAxis::Lon, st.LongitudeStats.mean, false);
    setHeight(static_cast<float>(st.HeightStats.mean));
    txtHdg->setText(toQt(headingText(st.HeadingStats.mean)));
}

void SetupDialog::cmdCopyPrimaryClick() {
    const Config& c = shell_.config;
    txtRefName->setText(toQt(c.ReferenceName[1]));
    setLatLon(LatLonAxis::Lat, c.ReferenceLat[1], false);
    setLatLon(LatLonAxis::Lon, c.ReferenceLon[1], false);
    setHeight(c.ReferenceHeight[1]);
    txtHdg->setText(toQt(headingText(c.ReferenceHeading[1])));
    txtPitch->setText(toQt(headingText(c.ReferencePitch[1])));
    txtRoll->setText(toQt(headingText(c.ReferenceRoll[1])));
}

void SetupDialog::cmdSelectFileClick() {
    const std::string& file = shell_.config.Systems[system_].OfflineFile;
    FileDialogRequest r;
    r.title = "Open NMEA raw data File";
    // The folder of the stored file, on either kind of separator.
    const auto sep = file.find_last_of("/\\");
    if (!file.empty() && sep != std::string::npos) r.initialDir = file.substr(0, sep);
    r.fileName = file;
    std::optional<std::string> chosen;
    {
        EventGate::ModalScope modal(shell_.gate);
        chosen = shell_.services.fileDialogs.showOpen(r);
    }
    if (chosen && !chosen->empty()) {
        offlineFile_ = *chosen;
        lblFileName->setText(toQt(fileNameText(offlineFile_)));
    }
}

void SetupDialog::cmdComInfoClick() {
    if (!comInfo_) comInfo_ = new ComportInfoBox(parentWidget());
    QWidget* main = parentWidget();
    if (main) {
        const QRect g = main->geometry();
        comInfo_->move(g.x() + g.width() / 2 - comInfo_->width() / 2, g.y() + g.height() / 2 - comInfo_->height() / 2);
    }
    comInfo_->show();
    comInfo_->raise();
}

// ---------------------------------------------------------------- focus

bool SetupDialog::eventFilter(QObject* watched, QEvent* event) {
    const auto it = fields_.constFind(watched);
    if (it == fields_.constEnd()) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        auto* w = qobject_cast<QWidget*>(watched);
        QLineEdit* edit = qobject_cast<QLineEdit*>(w);
        if (edit && w->property("selectAllOnFocus").toBool())
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
    } else if (event->type() == QEvent::FocusOut && *it != Field::None && !checking_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // The list's own popup and a box on top take the focus without leaving the field;
        // Cancel is never held up by a check.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
            QApplication::focusWidget() != cmdCancel && pending_ == Field::None) {
            pending_ = *it;
            // Checked once the focus has moved, before a click on OK acts (OK runs it first).
            QTimer::singleShot(0, this, [this] {
                const Field f = pending_;
                pending_ = Field::None;
                if (f != Field::None) leave(f);
            });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SetupDialog::focusField(QWidget* w) {
    for (QWidget* p = w; p; p = p->parentWidget()) {
        const int page = SSTab1->indexOf(p);
        if (page >= 0) {
            SSTab1->setCurrentIndex(page);
            break;
        }
    }
    w->setFocus(Qt::OtherFocusReason);
}

bool SetupDialog::refuse(QWidget* w, const std::string& message) {
    checking_ = true;
    tell(message, MessageIcon::Critical);
    focusField(w);
    checking_ = false;
    return false;
}

void SetupDialog::tell(const std::string& text, MessageIcon icon) {
    session_.ask({text, {}, MessageButtons::Ok, icon, MessageAnswer::Ok});
}

bool SetupDialog::leave(Field f) {
    Config& c = shell_.config;
    const int s = system_;
    switch (f) {
    case Field::None: return true;
    case Field::IP: {
        const std::string t = fromQt(cmbIP->currentText());
        if (!isValidIPv4(t)) return refuse(cmbIP, invalidIPMessage(t));
        const IPHistoryChange change = ReArrange_IP_List(c, t);
        const QSignalBlocker quiet(cmbIP);
        if (change == IPHistoryChange::Appended) {
            cmbIP->addItem(toQt(t));
            cmbIP->setEditText(toQt(t));
        } else if (change == IPHistoryChange::Refilled) {
            cmbIP->clear();
            for (int i = 0; i < 10; ++i) cmbIP->addItem(toQt(c.IPList[i]));
            cmbIP->setCurrentIndex(9);
        }
        return true;
    }
    case Field::Port:
    case Field::UDPPort: {
        QLineEdit* box = f == Field::Port ? txtPort : txtUDP_port;
        const std::string t = fromQt(box->text());
        const auto text = checkedPortText(t);
        if (!text) return refuse(box, invalidPortMessage(t));
        box->setText(toQt(*text));
        return true;
    }
    case Field::Lat:
    case Field::Lon: {
        const LatLonAxis axis = f == Field::Lat ? LatLonAxis::Lat : LatLonAxis::Lon;
        QLineEdit* box = axis == LatLonAxis::Lat ? txtLat : txtLon;
        LatLonBox& known = axis == LatLonAxis::Lat ? lat_ : lon_;
        std::string t = fromQt(box->text());
        // A text the program wrote stands for its exact value: leaving it changes nothing.
        if (known.exact(t)) return true;
        BoxNotices notices(session_);
        checking_ = true;
        const double radians = parseLatLonBox(c, axis, t, notices);
        checking_ = false;
        box->setText(toQt(t));
        known.set(t, radians);
        if (radians != (axis == LatLonAxis::Lat ? c.ReferenceLat[s] : c.ReferenceLon[s])) refChanged_ = true;
        return true;
    }
    case Field::Hgt: {
        const std::string t = fromQt(txtHgt->text());
        if (height_ && height_->first == t) return true;
        const float v = static_cast<float>(ValDecimal(t));
        txtHgt->setText(toQt(heightText(v)));
        height_.reset();
        if (v != c.ReferenceHeight[s]) refChanged_ = true;
        return true;
    }
    case Field::Hdg: txtHdg->setText(toQt(headingText(static_cast<float>(ValDecimal(fromQt(txtHdg->text())))))); return true;
    case Field::Pitch: txtPitch->setText(toQt(attitudeText(static_cast<float>(ValDecimal(fromQt(txtPitch->text())))))); return true;
    case Field::Roll: txtRoll->setText(toQt(attitudeText(static_cast<float>(ValDecimal(fromQt(txtRoll->text())))))); return true;
    case Field::RefName:
        if (fromQt(txtRefName->text()) != c.ReferenceName[s]) refChanged_ = true;
        return true;
    case Field::Hdop:
        return !isRefusedLimit(fromQt(cmbHdop->currentText())) || refuse(cmbHdop, zeroLimitMessage(LimitList::Hdop));
    case Field::Svs:
        return !isRefusedLimit(fromQt(cmbSvs->currentText())) || refuse(cmbSvs, zeroLimitMessage(LimitList::Svs));
    case Field::Outliers:
        return !isRefusedLimit(fromQt(cmbOutliers->currentText())) ||
               refuse(cmbOutliers, zeroLimitMessage(LimitList::Outliers));
    }
    return true;
}

// ---------------------------------------------------------------- OK and closing

SetupValues SetupDialog::values() const {
    SetupValues v;
    v.system = system_;
    v.source = -1;
    for (int i = 0; i < 3; ++i)
        if (optCom[i]->isChecked()) v.source = i;
    if (cmbComPort->currentIndex() >= 0) {
        v.comPort = cmbComPort->currentData().toInt();
        v.comPortItem = fromQt(cmbComPort->currentText());
    }
    v.baud = fromQt(cmbBaudRate->currentText());
    v.dataBits = fromQt(cmbDataBits->currentText());
    v.stopBits = fromQt(cmbStopBits->currentText());
    v.parity = fromQt(cmbParity->currentText());
    v.ip = fromQt(cmbIP->currentText());
    v.tcpPort = fromQt(txtPort->text());
    v.udpPort = fromQt(txtUDP_port->text());
    v.enabled = chkEnabled->isChecked();
    v.name = fromQt(txtName->text());
    for (int i = 0; i < 8; ++i)
        if (optType[i]->isChecked()) v.kind = i;
    for (int b = 0; b < SentenceBoxCount; ++b) v.sentences[b] = chkSentence[b]->isChecked();
    v.checksumTest = chkTestCheckSum->isChecked();
    v.emptyBuffer = chkEmptyBuffer->isChecked();
    for (int i = 0; i < 3; ++i)
        if (optReference[i]->isChecked()) v.referenceMode = i;
    v.refName = fromQt(txtRefName->text());
    v.lat = fromQt(txtLat->text());
    v.lon = fromQt(txtLon->text());
    v.latExact = lat_.exact(v.lat);
    v.lonExact = lon_.exact(v.lon);
    v.height = fromQt(txtHgt->text());
    if (height_ && height_->first == v.height) v.heightExact = height_->second;
    v.heading = fromQt(txtHdg->text());
    v.pitch = fromQt(txtPitch->text());
    v.roll = fromQt(txtRoll->text());
    v.outliersTicked = chkOutliers->isChecked();
    v.hdopTicked = chkHdop->isChecked();
    v.svsTicked = chkSvs->isChecked();
    v.noDiff = chkNoDiff->isChecked();
    v.outliers = fromQt(cmbOutliers->currentText());
    v.hdop = fromQt(cmbHdop->currentText());
    v.svs = fromQt(cmbSvs->currentText());
    v.offlineFile = offlineFile_;
    v.refChanged = refChanged_;
    return v;
}

void SetupDialog::cmdOkClick() {
    // The field just left is checked first, as if its check had run before the click.
    if (pending_ != Field::None) {
        const Field f = pending_;
        pending_ = Field::None;
        if (!leave(f)) return;
    }
    const SetupValues v = values();
    if (auto refusal = checkSetupValues(v, shell_.config.Mode)) {
        QWidget* at = nullptr;
        switch (refusal->field) {
        case SetupField::ComPort: at = cmbComPort; break;
        case SetupField::IP: at = cmbIP; break;
        case SetupField::TcpPort: at = txtPort; break;
        case SetupField::UdpPort: at = txtUDP_port; break;
        case SetupField::Hdop: at = cmbHdop; break;
        case SetupField::Svs: at = cmbSvs; break;
        case SetupField::Outliers: at = cmbOutliers; break;
        case SetupField::RefName: at = txtRefName; break;
        case SetupField::Sentences: at = box(SentenceBox::GGA); break;
        }
        refuse(at, refusal->message);
        return;
    }
    if (applySetup(v, shell_.config, session_)) accept();
}

void SetupDialog::done(int result) {
    pending_ = Field::None;
    if (comInfo_) comInfo_->close();
    QDialog::done(result);
}

}  // namespace tiderune
