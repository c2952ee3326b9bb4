#pragma once
// The sky plot of one system: the polar plot of the satellites of its last GSV group, the
// table of up to 50 satellites with their trends, the GSA panel and the elevation-mask box.
// Everything it shows is kept by its SkyplotForm, fed per GSA and GSV sentence while the
// window is open; the plot is drawn at group ends only, and the widgets take the texts and
// the picture on the shared redraw tick.
#include <array>
#include <memory>

#include "frame/child_window.h"
#include "charts/logic/skyplot_form.h"

class QLabel;
class QLineEdit;

namespace tiderune {

class DrawingSurfaceWidget;

class SkyplotWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit SkyplotWindow(Shell& shell, QWidget* parent = nullptr);
    ~SkyplotWindow() override;

    void load() override;
    void feed(SentenceType type) override;
    // The sky plot with its mask box and numbers whole; the tracking list is scrolled to.
    QSize readableSize() override;

    // The mask box lost the focus: a refused value is reported and the focus goes back.
    void txtElMask_LostFocus();

    SkyplotForm& form() { return *form_; }
    DrawingSurfaceWidget* picSkyplot = nullptr;
    QLineEdit* txtElMask = nullptr;

    struct RowLabels {
        QLabel* channel = nullptr;
        QLabel* colour = nullptr;
        QLabel* sv = nullptr;
        QLabel* elevation = nullptr;
        QLabel* azimuth = nullptr;
        QLabel* snr = nullptr;
    };
    std::array<RowLabels, SkyplotRows + 1> rows{};  // 1-50
    QLabel* lblCurrentMode = nullptr;
    QLabel* lblPdop = nullptr;
    QLabel* lblHdop = nullptr;
    QLabel* lblVdop = nullptr;
    QLabel* lblSvsInView = nullptr;
    QLabel* lblSvsInUse = nullptr;
    std::array<QLabel*, 5> lblUsedSvs{};

protected:
    void refresh() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<SkyplotForm> form_;
    unsigned long long shownTexts_ = ~0ull;
    unsigned long long shownPlot_ = ~0ull;
    bool checkingMask_ = false;
};

}  // namespace tiderune
