#include "views/numerics_window.h"

#include <QGroupBox>
#include <QLabel>
#include <cmath>

#include "frame/shell.h"
#include "platform/qt/qt_edge.h"
#include "platform/qt/grid_widget.h"
#include "views/scrolled_content.h"

namespace tiderune {

namespace {

// The frames that hold only a note: the satellites are shown by the sky plot.
constexpr double NoteFrameWidth = 3255;
constexpr double NoteFrameHeight = 735;

}  // namespace

NumericsWindow::NumericsWindow(Shell& shell, QWidget* parent) : ChildWindow(shell, WindowKind::Numerics, parent) {
    content_ = addScrolledContent(this);
    for (const NumericsTable& t : numericsTables()) {
        auto* frame = new QGroupBox(toQt(t.caption), content_);
        frame->setObjectName(QStringLiteral("frame") + toQt(sentenceTypeName(t.type)));
        frame->hide();
        auto* grid = new GridWidget(static_cast<int>(t.labels.size()) + 1, 2, frame);
        grid->setObjectName(QStringLiteral("fg") + toQt(sentenceTypeName(t.type)));
        frames_[static_cast<std::size_t>(t.type)] = frame;
        grids_[static_cast<std::size_t>(t.type)] = grid;
    }
    for (SentenceType t : {SentenceType::GSA, SentenceType::GSV}) {
        const QString name = toQt(sentenceTypeName(t));
        auto* frame = new QGroupBox(name + QStringLiteral(" Numerics"), content_);
        frame->setObjectName(QStringLiteral("frame") + name);
        frame->hide();
        setTwipsGeometry(frame, 0, 0, NoteFrameWidth, NoteFrameHeight);
        auto* note = new QLabel(QStringLiteral("See Skyplot Window"), frame);
        note->setObjectName(QStringLiteral("Label1"));
        setTwipsGeometry(note, 240, 360, NoteFrameWidth - 360, 255);
        frames_[static_cast<std::size_t>(t)] = frame;
    }
}

void NumericsWindow::setupGrid(QGroupBox* frame, GridWidget* g, int rows, int extraWidth) {
    g->setColWidth(0, g->colWidth(0) + 600);
    g->setColWidth(1, g->colWidth(1) + extraWidth);
    g->setText(0, 1, "Current value");
    double h = g->rowHeight(0) + 100;
    const double w = g->colWidth(0) + g->colWidth(1) + 100;
    for (int r = 1; r <= rows; ++r) {
        h += g->rowHeight(r);
        g->setText(r, 1, NumericsPlaceholder);
    }
    g->setTop(240);
    g->setLeft(120);
    g->setHeight(h);
    g->setWidth(w);
    setTwipsGeometry(frame, 0, 0, w + 240, h + 360);
    g->setCol(0);
}

void NumericsWindow::load() {
    ChildWindow::load();
    pending_.clear();
    for (const NumericsTable& t : numericsTables()) {
        GridWidget* g = grid(t.type);
        const int rows = static_cast<int>(t.labels.size());
        setupGrid(frameOf(t.type), g, rows, 400);
        for (int r = 1; r <= rows; ++r) g->setText(r, 0, t.labels[static_cast<std::size_t>(r - 1)]);
    }
    // Only the analysed types take room, in the stacking order; the window keeps its size.
    double y = 0;
    for (SentenceType t : numericsStack(shell_.config.Systems[system()])) {
        QGroupBox* f = frameOf(t);
        f->move(0, fromTwips(y));
        f->show();
        y += std::round(toTwips(f->height()));
    }
    fitToShownFrames(content_);
}

void NumericsWindow::feed(SentenceType type) {
    pending_.sentence(type, shell_.config, system());
    if (pending_.any()) markChanged();
}

void NumericsWindow::refresh() {
    pending_.flush(shell_.coreState.NMEAMessages[system()], [this](const NumericsTable& t, int row, const std::string& text) {
        grid(t.type)->setText(row, 1, text);
    });
}

}  // namespace tiderune
