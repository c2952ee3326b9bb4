#include "ais/logic/arpa_list_view.h"

#include "core/epoch_time.h"
#include "core/number_text.h"
#include "platform/grid.h"

namespace tiderune {

namespace {

constexpr std::array<const char*, ArpaListColumns> Headings = {
    "No", "Name", "Distance", "Bearing", "T/R", "Speed", "Course", "T/R",
    "CPA", "TCPA", "Unit", "Status", "Ref Target", "First msg", "Last msg"};

// A one-character field as the parser stored it; nothing when no sentence set it.
std::string character(char c) { return c ? std::string(1, c) : std::string(); }

}  // namespace

std::span<const char* const> arpaListHeadings() { return Headings; }

void setUpArpaListGrid(Grid& grid) {
    grid.setWidth(17000);
    grid.setCols(ArpaListColumns);
    if (grid.rows() < 1) grid.setRows(1);
    for (int c = 0; c < ArpaListColumns; ++c) grid.setText(0, c, Headings[static_cast<std::size_t>(c)]);
    for (int c : {0, 4, 7}) grid.setColWidth(c, 400);
    grid.setColWidth(1, 3200);
    grid.setColWidth(11, 600);
}

void ArpaListView::open(int rows) {
    rows_ = rows < 1 ? 1 : rows;
    texts_.assign(static_cast<std::size_t>(rows_), Row{});
    // Every row is written once, so a grid that showed an earlier list is emptied.
    due_.assign(static_cast<std::size_t>(rows_), true);
    dueRows_.clear();
    for (int r = 1; r < rows_; ++r) dueRows_.push_back(r);
    shapeDue_ = true;
}

const ArpaListView::Row& ArpaListView::row(int r) const {
    static const Row none{};
    return r >= 0 && static_cast<std::size_t>(r) < texts_.size() ? texts_[static_cast<std::size_t>(r)] : none;
}

bool ArpaListView::sentence(const TTMRecord& t, double epochTime) {
    // An empty number (MissingValue) names no target; a number outside 0-99 would write the
    // heading row or grow the list by tens of thousands of rows.
    const int n = t.TargetNumber;
    if (n < 0 || n > ArpaHighestTarget) return false;
    if (n >= rows_ - 1) {
        rows_ = n + 2;
        texts_.resize(static_cast<std::size_t>(rows_));
        due_.resize(static_cast<std::size_t>(rows_), false);
        shapeDue_ = true;
    }
    const int r = n + 1;
    Row& row = texts_[static_cast<std::size_t>(r)];
    row[0] = std::to_string(n);
    row[1] = t.TargetName;
    row[2] = ValueOrNA(t.Distance);
    row[3] = ValueOrNA(t.Bearing);
    row[4] = character(t.BearingReference);
    row[5] = ValueOrNA(t.Speed);
    row[6] = ValueOrNA(t.Course);
    row[7] = character(t.CourseReference);
    row[8] = ValueOrNA(t.CPA);
    row[9] = ValueOrNA(t.TCPA);
    row[10] = character(t.Units);
    row[11] = character(t.TargetStatus);
    row[12] = t.ReferenceTarget;
    const ClockText clock = formatClock(epochTime);
    if (row[13].empty()) row[13] = clock.view();
    row[14] = clock.view();
    if (!due_[static_cast<std::size_t>(r)]) {
        due_[static_cast<std::size_t>(r)] = true;
        dueRows_.push_back(r);
    }
    return true;
}

void ArpaListView::flush(Grid& grid) {
    if (shapeDue_ && grid.rows() != rows_) grid.setRows(rows_);
    shapeDue_ = false;
    for (int r : dueRows_) {
        const Row& row = texts_[static_cast<std::size_t>(r)];
        for (int c = 0; c < ArpaListColumns; ++c)
            if (grid.contains(r, c)) grid.setText(r, c, row[static_cast<std::size_t>(c)]);
        due_[static_cast<std::size_t>(r)] = false;
    }
    dueRows_.clear();
}

}  // namespace tiderune
