#include "platform/qt/grid_widget.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>
#include <cmath>

#include "platform/qt/qt_edge.h"

namespace tiderune {

namespace {

int px(double twips) { return fromTwips(twips); }

int buttonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int shiftOf(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

}  // namespace

// The grid's cells 1.. as the table's body, row 0 and column 0 as its headers. It keeps the
// shape it last told the view, so that the view is told of every change in the right order.
class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(const Grid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : bodyRows_; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : bodyCols_; }

    QVariant data(const QModelIndex& i, int role) const override {
        if (role == Qt::DisplayRole) return toQt(grid_.text(i.row() + 1, i.column() + 1));
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
        return {};
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (role == Qt::DisplayRole) {
            // A grid without a heading row (or label column) still has body sections.
            const int r = o == Qt::Horizontal ? 0 : section + 1, c = o == Qt::Horizontal ? section + 1 : 0;
            return grid_.contains(r, c) ? toQt(grid_.text(r, c)) : QString();
        }
        if (role == Qt::TextAlignmentRole)
            return int((o == Qt::Horizontal ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex&) const override { return Qt::ItemIsEnabled; }

    void cellChanged(int r, int c) {
        if (r == 0 && c > 0) emit headerDataChanged(Qt::Horizontal, c - 1, c - 1);
        else if (c == 0 && r > 0) emit headerDataChanged(Qt::Vertical, r - 1, r - 1);
        else if (r > 0 && c > 0) emit dataChanged(index(r - 1, c - 1), index(r - 1, c - 1), {Qt::DisplayRole});
    }

    void follow() {
        const int rows = std::max(0, grid_.rows() - 1);
        const int cols = std::max(0, grid_.cols() - 1);
        if (rows > bodyRows_) {
            beginInsertRows({}, bodyRows_, rows - 1);
            bodyRows_ = rows;
            endInsertRows();
        } else if (rows < bodyRows_) {
            beginRemoveRows({}, rows, bodyRows_ - 1);
            bodyRows_ = rows;
            endRemoveRows();
        }
        if (cols > bodyCols_) {
            beginInsertColumns({}, bodyCols_, cols - 1);
            bodyCols_ = cols;
            endInsertColumns();
        } else if (cols < bodyCols_) {
            beginRemoveColumns({}, cols, bodyCols_ - 1);
            bodyCols_ = cols;
            endRemoveColumns();
        }
    }

private:
    const Grid& grid_;
    int bodyRows_ = 0;
    int bodyCols_ = 0;
};

GridWidget::GridWidget(int rows, int cols, QWidget* parent) : QTableView(parent), model_(new GridModel(*this, this)) {
    // The default cell fits about eleven digits and a line of the font, with a small margin.
    const QFontMetrics fm(font());
    defaultColWidth_ = (fm.horizontalAdvance(QStringLiteral("00000000000")) + 8) * TwipsPerPixel;
    defaultRowHeight_ = (fm.height() + 4) * TwipsPerPixel;

    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setSortingEnabled(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setSectionsClickable(false);
        h->setHighlightSections(false);
        h->setMinimumSectionSize(1);
        h->setTextElideMode(Qt::ElideNone);
        h->installEventFilter(this);
        h->viewport()->installEventFilter(this);
    }
    // The corner button draws cell (0, 0).
    if (auto* corner = findChild<QAbstractButton*>()) corner->installEventFilter(this);

    Grid::setRows(rows);
    Grid::setCols(cols);
}

GridWidget::~GridWidget() = default;

void GridWidget::shapeChanged() {
    colWidths_.resize(static_cast<std::size_t>(Grid::cols()), defaultColWidth_);
    rowHeights_.resize(static_cast<std::size_t>(Grid::rows()), defaultRowHeight_);
    model_->follow();
    applySizes();
}

void GridWidget::cellChanged(int r, int c) {
    if (r == 0 && c == 0) {
        if (auto* corner = findChild<QAbstractButton*>()) corner->update();
        return;
    }
    model_->cellChanged(r, c);
}

void GridWidget::applySizes() {
    if (!colWidths_.empty()) verticalHeader()->setFixedWidth(px(colWidths_[0]));
    if (!rowHeights_.empty()) horizontalHeader()->setFixedHeight(px(rowHeights_[0]));
    for (std::size_t c = 1; c < colWidths_.size(); ++c)
        horizontalHeader()->resizeSection(static_cast<int>(c - 1), px(colWidths_[c]));
    for (std::size_t r = 1; r < rowHeights_.size(); ++r)
        verticalHeader()->resizeSection(static_cast<int>(r - 1), px(rowHeights_[r]));
}

int GridWidget::colWidth(int c) const {
    if (c < 0 || c >= static_cast<int>(colWidths_.size())) return 0;
    return colWidths_[static_cast<std::size_t>(c)];
}

void GridWidget::setColWidth(int c, int twips) {
    if (c < 0 || c >= static_cast<int>(colWidths_.size())) return;
    colWidths_[static_cast<std::size_t>(c)] = twips;
    if (c == 0) verticalHeader()->setFixedWidth(px(twips));
    else horizontalHeader()->resizeSection(c - 1, px(twips));
}

int GridWidget::columnWidthFor(const QString& text) const {
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int pixels = fontMetrics().horizontalAdvance(text) + 2 * margin + (showGrid() ? 1 : 0);
    return static_cast<int>(std::lround(toTwips(pixels)));
}

int GridWidget::rowHeight(int r) const {
    if (r < 0 || r >= static_cast<int>(rowHeights_.size())) return 0;
    return rowHeights_[static_cast<std::size_t>(r)];
}

void GridWidget::setRowHeight(int r, int twips) {
    if (r < 0 || r >= static_cast<int>(rowHeights_.size())) return;
    rowHeights_[static_cast<std::size_t>(r)] = twips;
    if (r == 0) horizontalHeader()->setFixedHeight(px(twips));
    else verticalHeader()->resizeSection(r - 1, px(twips));
}

void GridWidget::applyGeometry() { setGeometry(px(left_), px(top_), px(width_), px(height_)); }
void GridWidget::setLeft(double twips) { left_ = twips; applyGeometry(); }
void GridWidget::setTop(double twips) { top_ = twips; applyGeometry(); }
void GridWidget::setWidth(double twips) { width_ = twips; applyGeometry(); }
void GridWidget::setHeight(double twips) { height_ = twips; applyGeometry(); }

void GridWidget::pressAt(int row, QMouseEvent* e, QWidget* from) {
    const QPoint p = from->mapTo(this, e->position().toPoint());
    mousePressed(row, buttonOf(e->button()), shiftOf(e->modifiers()), double(p.x()) * TwipsPerPixel,
                 double(p.y()) * TwipsPerPixel);
}

void GridWidget::mousePressEvent(QMouseEvent* e) {
    // Presses on the body arrive through the viewport.
    const int r = rowAt(e->position().toPoint().y());
    pressAt(r < 0 ? -1 : r + 1, e, viewport());
    QTableView::mousePressEvent(e);
}

bool GridWidget::eventFilter(QObject* watched, QEvent* e) {
    auto* corner = findChild<QAbstractButton*>();
    if (watched == corner && e->type() == QEvent::Paint) {
        QPainter p(corner);
        QStyleOptionHeader opt;
        opt.initFrom(corner);
        opt.rect = corner->rect();
        opt.position = QStyleOptionHeader::OnlyOneSection;
        if (Grid::contains(0, 0)) opt.text = toQt(Grid::text(0, 0));
        opt.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        style()->drawControl(QStyle::CE_Header, &opt, &p, corner);
        return true;
    }
    if (e->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(e);
        if (watched == horizontalHeader()->viewport() || watched == corner) {
            pressAt(0, me, static_cast<QWidget*>(watched));
        } else if (watched == verticalHeader()->viewport()) {
            const int r = verticalHeader()->logicalIndexAt(me->position().toPoint());
            pressAt(r < 0 ? -1 : r + 1, me, static_cast<QWidget*>(watched));
        }
    }
    return QTableView::eventFilter(watched, e);
}

}  // namespace tiderune
