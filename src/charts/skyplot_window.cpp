#include "charts/skyplot_window.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "frame/shell.h"
#include "platform/qt/drawing_surface_qt.h"
#include "platform/qt/qt_edge.h"

namespace tiderune {

namespace {

QLabel* label(QWidget* parent, const char* text, int x, int y, int w, int h = 16, const char* name = nullptr) {
    auto* l = new QLabel(toQt(text), parent);
    l->setGeometry(x, y, w, h);
    if (name) l->setObjectName(name);
    return l;
}

void setText(QLabel* l, const std::string& text) {
    const QString t = toQt(text);
    if (l->text() != t) l->setText(t);
}

void setForeColour(QLabel* l, Colour c) {
    const QColor q = toQColor(c);
    if (l->palette().color(QPalette::WindowText) == q) return;
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, q);
    l->setPalette(p);
}

void setText(QLabel* l, const ColouredText& t) {
    setText(l, t.text);
    setForeColour(l, t.colour);
}

void setSwatch(QLabel* l, Colour c) {
    const QColor q = toQColor(c);
    if (l->palette().color(QPalette::Window) == q) return;
    QPalette p = l->palette();
    p.setColor(QPalette::Window, q);
    l->setPalette(p);
}

constexpr int RowHeight = 14;

}  // namespace

QSize SkyplotWindow::readableSize() {
    QWidget* content = findChild<QScrollArea*>()->widget();
    QRect plot;
    for (QWidget* w : content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->objectName() != "frmSvTrackingStatus") plot |= w->geometry();
    return readableScrolledSize(plot, content->rect());
}

SkyplotWindow::SkyplotWindow(Shell& shell, QWidget* parent) : ChildWindow(shell, WindowKind::Skyplot, parent) {
    // The form keeps its design size; a smaller window scrolls.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    content->setFixedSize(680, 62 + SkyplotRows * RowHeight + 28);
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    auto* frameSkyplot = new QGroupBox(QStringLiteral("SKYPLOT"), content);
    frameSkyplot->setObjectName("frameSkyplot");
    frameSkyplot->setGeometry(6, 4, 272, 292);
    label(frameSkyplot, "North", 119, 16, 40)->setAlignment(Qt::AlignHCenter);
    label(frameSkyplot, "South", 119, 252, 40)->setAlignment(Qt::AlignHCenter);
    label(frameSkyplot, "W", 12, 134, 14);
    label(frameSkyplot, "E", 250, 134, 14);
    picSkyplot = new DrawingSurfaceWidget(frameSkyplot);
    picSkyplot->setObjectName("picSkyplot");
    picSkyplot->setGeometry(28, 34, 216, 216);
    // The picture is shown on the redraw tick, not at every drawing step.
    picSkyplot->surface().setChangedCallback({});

    label(content, "Elevation mask :", 6, 306, 100);
    txtElMask = new QLineEdit(content);
    txtElMask->setObjectName("txtElMask");
    txtElMask->setGeometry(108, 302, 32, 22);
    txtElMask->installEventFilter(this);
    label(content, "deg", 144, 306, 30);

    int y = 336;
    auto panelLine = [&](const char* caption, const char* design, const char* name) {
        label(content, caption, 6, y, 110);
        QLabel* value = label(content, design, 118, y, 160, 16, name);
        y += 19;
        return value;
    };
    lblCurrentMode = panelLine("Current Mode : ", "n/a", "lblCurrentMode");
    lblPdop = panelLine("Pdop : ", "xx.xx", "lblPdop");
    lblHdop = panelLine("Hdop : ", "xx.xx", "lblHdop");
    lblVdop = panelLine("Vdop : ", "xx.xx", "lblVdop");
    lblSvsInView = panelLine("Satellites in view :", "n/a", "lblSvsInView");
    lblSvsInUse = panelLine("Satellites in use :", "n/a", "lblSvsInUse");
    label(content, "Used svs ", 6, y + 4, 110);
    y += 23;
    const char* constellations[] = {"GPS           :", "SBAS         :", "GLONASS :", "BeiDou      :", "GALILEO   :"};
    for (int k = 0; k < 5; ++k) {
        label(content, constellations[k], 6, y, 70);
        lblUsedSvs[static_cast<std::size_t>(k)] =
            label(content, "none", 78, y, 350, 16, qPrintable(QStringLiteral("lblUsedSvs%1").arg(k)));
        y += 18;
    }

    auto* status = new QGroupBox(QStringLiteral(" Satellite Tracking Status"), content);
    status->setObjectName("frmSvTrackingStatus");
    status->setGeometry(440, 4, 234, 52 + SkyplotRows * RowHeight + 28);
    label(status, "Ch", 6, 20, 22);
    label(status, "Sv", 48, 20, 34);
    label(status, "Elev", 84, 20, 40);
    label(status, "Azim", 126, 20, 48);
    label(status, "SNR", 180, 20, 40);
    for (int r = 1; r <= SkyplotRows; ++r) {
        const int ry = 38 + (r - 1) * RowHeight;
        RowLabels& row = rows[static_cast<std::size_t>(r)];
        row.channel = label(status, "", 6, ry, 22, RowHeight);
        row.channel->setText(QString::number(r));
        row.colour = label(status, "", 30, ry + 2, 12, RowHeight - 4);
        row.colour->setAutoFillBackground(true);
        setSwatch(row.colour, colours::White);
        row.sv = label(status, "*", 48, ry, 34, RowHeight);
        row.elevation = label(status, "*", 84, ry, 40, RowHeight);
        row.azimuth = label(status, "*", 126, ry, 52, RowHeight);
        row.snr = label(status, "*", 180, ry, 40, RowHeight);
        row.sv->setObjectName(QStringLiteral("lblSv%1").arg(r));
    }
    const int legend = 42 + SkyplotRows * RowHeight;
    label(status, "u - up", 6, legend, 50);
    label(status, "d - down", 58, legend, 56);
    label(status, "> incr", 118, legend, 50);
    label(status, "< decr", 170, legend, 50);

    form_ = std::make_unique<SkyplotForm>(shell.coreState, shell.timeSeries, picSkyplot->surface());
}

SkyplotWindow::~SkyplotWindow() = default;

void SkyplotWindow::load() {
    ChildWindow::load();
    form_->load(system());
    // The ticks leave a focused box alone, and a window reopened by a reset can take the
    // focus into the box before its first tick: an empty box would then be read as a mask
    // of 0 when the focus leaves it.
    txtElMask->setText(toQt(form_->txtElMask));
    markChanged();
    refreshIfChanged();
}

void SkyplotWindow::feed(SentenceType type) {
    if (type == SentenceType::GSA) form_->UpdateSkyplotGSA();
    else if (type == SentenceType::GSV) form_->DrawSkyplotGSV();
    else return;
    markChanged();
}

void SkyplotWindow::refresh() {
    if (form_->plotGeneration() != shownPlot_) {
        shownPlot_ = form_->plotGeneration();
        form_->drawPlot();
        picSkyplot->update();
    }
    if (form_->textGeneration() == shownTexts_) return;
    shownTexts_ = form_->textGeneration();
    const SkyplotForm& f = *form_;
    for (int r = 1; r <= SkyplotRows; ++r) {
        const SkyplotRow& src = f.rows[r];
        RowLabels& row = rows[static_cast<std::size_t>(r)];
        setText(row.sv, src.sv);
        setText(row.elevation, src.elevation);
        setText(row.azimuth, src.azimuth);
        setText(row.snr, src.snr);
        setSwatch(row.colour, src.swatch);
    }
    setText(lblCurrentMode, f.lblCurrentMode());
    setText(lblPdop, f.lblPdop());
    setText(lblHdop, f.lblHdop());
    setText(lblVdop, f.lblVdop());
    setText(lblSvsInView, f.lblSvsInView);
    for (std::size_t k = 0; k < lblUsedSvs.size(); ++k) setText(lblUsedSvs[k], f.lblUsedSvs(k));
    if (!txtElMask->hasFocus() && txtElMask->text() != toQt(f.txtElMask)) txtElMask->setText(toQt(f.txtElMask));
}

void SkyplotWindow::txtElMask_LostFocus() {
    if (checkingMask_) return;
    if (form_->txtElMask_LostFocus(fromQt(txtElMask->text()))) {
        txtElMask->setText(toQt(form_->txtElMask));
        markChanged();
        refreshIfChanged();
        return;
    }
    checkingMask_ = true;
    shell_.ask(InvalidElevationMaskMessage);
    checkingMask_ = false;
    txtElMask->setFocus();
}

bool SkyplotWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtElMask) {
        if (event->type() == QEvent::FocusIn) {
            // After the click that gave the focus, so the click does not undo the selection.
            QTimer::singleShot(0, txtElMask, [box = txtElMask] { box->selectAll(); });
        } else if (event->type() == QEvent::FocusOut) {
            // The program losing the screen, or a menu opening, leaves the box where it is.
            const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
            if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason) txtElMask_LostFocus();
        }
    }
    return ChildWindow::eventFilter(watched, event);
}

}  // namespace tiderune
